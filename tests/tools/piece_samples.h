// Pieces for the tests: the bundled samples and random pieces of a given kind.
#ifndef ZED_TESTS_PIECE_SAMPLES_H
#define ZED_TESTS_PIECE_SAMPLES_H

#include <functional>
#include <random>
#include <string>

#include "piece/piece_set.h"

namespace zedtest {

/// The bytes of a file of tools/zed/samples.
std::string SampleBytes(const std::string& name);
zedpiece::Pieces SamplePieces();

/// Random pieces that use every field a JSON file holds: both line lists, any flag, kind and
/// code, any finite float (subnormals, signed zeros), texts with any bytes but zero.
zedpiece::Pieces RandomJsonPieces(std::mt19937& rng);

/// Random pieces of what DXF carries, well apart so that no marker lands on a foreign line:
/// closed boundaries and open lines (kinds 0, 6, 7, 8, 11, 14), corners, notches, drill holes
/// (on the outline and alone), names 1-3 of plain characters and free texts.
zedpiece::Pieces RandomDxfPieces(std::mt19937& rng);

/// Random pen-up and pen-down outlines on the plotter grid (1/40 unit), pens 1 to 8.
zedpiece::Pieces RandomPlotterPieces(std::mt19937& rng);

/// Runs `work`, which must throw a PieceError whose message holds `message`; `input` names the
/// case in the failure.
void ExpectRefused(const std::function<void()>& work, const std::string& message, const std::string& input);

/// The pieces as zed writes them in JSON, for comparisons.
std::string AsJson(const zedpiece::Pieces& pieces);

}  // namespace zedtest

#endif

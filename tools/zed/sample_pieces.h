// The bundled sample pieces: a blouse front, back and sleeve with notches, drill holes, grain
// lines and free texts, drawn for the tool.
#ifndef ZED_TOOL_SAMPLE_PIECES_H
#define ZED_TOOL_SAMPLE_PIECES_H

namespace zedtool {

/// The JSON piece file tools/zed/samples/blouse.json, as built in.
const char* SamplePiecesJson();

}  // namespace zedtool

#endif

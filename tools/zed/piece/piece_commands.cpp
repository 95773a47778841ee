// zed piece info, convert and svg: read, write and look at pattern pieces.
#include "piece_commands.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "formats.h"
#include "info.h"

namespace zedpiece {
namespace {

struct Args {
    std::vector<std::string> files;
    std::string in, out, from, to;
    FormatOptions options;
};

template <class Work>
void Run(Work work) {
    try {
        work();
    } catch (const PieceError& e) {
        std::cerr << "zed piece: " << e.what() << "\n";
        std::exit(1);
    } catch (const std::exception& e) {
        std::cerr << "zed piece: " << e.what() << "\n";
        std::exit(1);
    }
    std::exit(0);
}

}  // namespace

void AddPieceCommands(CLI::App& app) {
    auto args = std::make_shared<Args>();
    args->options.warn = [](const std::string& w) { std::cerr << "zed piece: warning: " << w << "\n"; };
    auto* piece = app.add_subcommand("piece", "Pattern pieces in JSON, DXF, HP-GL and SVG");
    piece->require_subcommand(1);

    auto* info = piece->add_subcommand("info", "A table of the lines of each piece");
    info->add_option("FILE", args->files, "piece files (- for standard input)")->required();
    info->add_option("--from", args->from, "input format: json, dxf, hpgl");
    info->callback([args] {
        Run([&] {
            for (const std::string& f : args->files) {
                Pieces p = ReadPieces(f, FormatFor(f, args->from), args->options);
                WriteInfo(p, f == "-" ? "standard input" : f, std::cout);
            }
        });
    });

    auto* convert = piece->add_subcommand("convert", "Convert pieces between formats");
    convert->add_option("IN", args->in, "input (- for standard input)")->required();
    convert->add_option("OUT", args->out, "output (- for standard output)")->required();
    convert->add_option("--from", args->from, "input format: json, dxf, hpgl");
    convert->add_option("--to", args->to, "output format: json, dxf, hpgl, svg");
    convert->add_option("--hpgl-units", args->options.hpgl_units, "HP-GL plotter units per drawing unit (40 per mm)");
    convert->callback([args] {
        Run([&] {
            Pieces p = ReadPieces(args->in, FormatFor(args->in, args->from), args->options);
            WritePieces(args->out, FormatFor(args->out, args->to), p, args->options);
        });
    });

    auto* svg = piece->add_subcommand("svg", "Draw pieces as an SVG picture");
    svg->add_option("IN", args->in, "input (- for standard input)")->required();
    svg->add_option("OUT", args->out, "SVG file (- for standard output)")->required();
    svg->add_option("--from", args->from, "input format: json, dxf, hpgl");
    svg->callback([args] {
        Run([&] {
            Pieces p = ReadPieces(args->in, FormatFor(args->in, args->from), args->options);
            WritePieces(args->out, Format::Svg, p, args->options);
        });
    });
}

}  // namespace zedpiece

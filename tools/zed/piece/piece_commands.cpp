// zed piece: read, convert, prepare, smooth, resample and draw pattern pieces.
#include "piece_commands.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "../progress.h"
#include "formats.h"
#include "info.h"
#include "png_render.h"
#include "transforms.h"

namespace zedpiece {
namespace {

struct Args {
    std::vector<std::string> files;
    std::string in, out, from, to;
    FormatOptions options;
    bool beta = false, chord = false;
    int points = 0;
    float spacing = 0;
    std::string png;
    int png_width = 1200;
};

// Runs one command: errors print one line naming file, place and field, and end with status 1.
template <class Work>
[[noreturn]] void Run(const char* label, Work work) {
    try {
        zedtool::RunWithProgress(label, -1, work, [] { return int64_t{-1}; });
    } catch (const std::exception& e) {
        std::cerr << "zed piece: " << e.what() << "\n";
        std::exit(1);
    }
    std::exit(0);
}

void InputOptions(CLI::App* cmd, Args& a) {
    cmd->add_option("--from", a.from, "input format: json, dxf, hpgl (default: from the extension)");
    cmd->add_option("--hpgl-units", a.options.hpgl_units,
                    "HP-GL plotter units per drawing unit (default 40, plotter units per mm)")
        ->check(CLI::PositiveNumber);
}

void OutputOptions(CLI::App* cmd, Args& a) {
    cmd->add_option("--to", a.to, "output format: json, dxf, hpgl, svg (default: from the extension)");
    cmd->add_option("--dxf-version", a.options.dxf_version, "DXF version written: 12 (default) or 2000")
        ->check(CLI::IsMember({12, 2000}));
}

// A command IN OUT that changes the pieces on the way.
CLI::App* Transform(CLI::App* piece, const char* name, const char* help, Args& a) {
    auto* cmd = piece->add_subcommand(name, help);
    cmd->add_option("IN", a.in, "input file (- for standard input)")->required();
    cmd->add_option("OUT", a.out, "output file (- for standard output)")->required();
    InputOptions(cmd, a);
    OutputOptions(cmd, a);
    return cmd;
}

template <class Change>
void RunTransform(const char* label, Args& a, Change change) {
    Run(label, [&] {
        Pieces p = ReadPieces(a.in, FormatFor(a.in, a.from), a.options);
        change(p);
        WritePieces(a.out, FormatFor(a.out, a.to), p, a.options);
    });
}

}  // namespace

void AddPieceCommands(CLI::App& app) {
    auto args = std::make_shared<Args>();
    Args& a = *args;
    a.options.warn = [](const std::string& w) { std::cerr << "zed piece: warning: " << w << "\n"; };
    auto* piece = app.add_subcommand("piece", "Pattern pieces in JSON, DXF, HP-GL and SVG");
    piece->require_subcommand(1);

    auto* info = piece->add_subcommand("info", "A table of the lines of each piece: points, shape, "
                                               "orientation, area, perimeter, box");
    info->add_option("FILE", a.files, "piece files (- for standard input)")->required();
    InputOptions(info, a);
    info->callback([args] {
        Run("zed piece info", [&] {
            for (const std::string& f : args->files) {
                Pieces p = ReadPieces(f, FormatFor(f, args->from), args->options);
                WriteInfo(p, f == "-" ? "standard input" : f, std::cout);
            }
        });
    });

    Transform(piece, "convert", "Convert pieces between formats", a)
        ->callback([args] { RunTransform("zed piece convert", *args, [](Pieces&) {}); });

    Transform(piece, "prepare", "Flatten each piece and prepare its outline into lines again, as a "
                                "host's plotter outline is prepared", a)
        ->callback([args] { RunTransform("zed piece prepare", *args, [](Pieces& p) { PreparePieces(p); }); });

    auto* smooth = Transform(piece, "smooth", "Smooth every line: the beta spline (corners kept) or "
                                              "the chord-length spline", a);
    auto* beta = smooth->add_flag("--beta", a.beta, "uniform beta spline, corners kept");
    auto* chord = smooth->add_flag("--chord", a.chord, "chord-length (non-uniform) spline");
    beta->excludes(chord);
    smooth->add_option("--points", a.points, "chord spline: points per run (default: two per segment)")
        ->check(CLI::NonNegativeNumber)
        ->needs(chord);
    smooth->callback([args] {
        if (args->beta == args->chord) throw CLI::ValidationError("smooth", "give --beta or --chord");
        RunTransform("zed piece smooth", *args, [&](Pieces& p) {
            SmoothPieces(p, args->beta ? SmoothMethod::Beta : SmoothMethod::Chord, args->points);
        });
    });

    auto* resample = Transform(piece, "resample", "Lay the points of every line at an even spacing", a);
    resample->add_option("--spacing", a.spacing, "distance between points, in drawing units")
        ->required()
        ->check(CLI::PositiveNumber);
    resample->callback([args] {
        RunTransform("zed piece resample", *args, [&](Pieces& p) { ResamplePieces(p, args->spacing); });
    });

    auto* svg = piece->add_subcommand("svg", "Draw pieces as an SVG picture (--png: a PNG beside it)");
    svg->add_option("IN", a.in, "input file (- for standard input)")->required();
    svg->add_option("OUT", a.out, "SVG file (- for standard output)")->required();
    InputOptions(svg, a);
    svg->add_option("--png", a.png, "also render the picture into this PNG file (needs rsvg-convert)");
    svg->add_option("--png-width", a.png_width, "width of the PNG in pixels (default 1200)")
        ->check(CLI::Range(16, 20000));
    svg->callback([args] {
        if (!args->png.empty() && args->out == "-")
            throw CLI::ValidationError("--png", "needs the SVG written to a file");
        Run("zed piece svg", [&] {
            Pieces p = ReadPieces(args->in, FormatFor(args->in, args->from), args->options);
            WritePieces(args->out, Format::Svg, p, args->options);
            if (!args->png.empty()) RenderPng(args->out, args->png, args->png_width);
        });
    });
}

}  // namespace zedpiece

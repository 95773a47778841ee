// zed: exercises the library on real inputs from the command line.
#include <CLI/CLI.hpp>

#include <iostream>

#include "commands.h"

int main(int argc, char** argv) {
    CLI::App app{"zed: the ZEDLL command-line tool"};
    app.require_subcommand(1);
    auto* demo = app.add_subcommand("demo", "Run the sample piece through the library");
    demo->callback([] { std::exit(zedtool::RunDemo(std::cout)); });
    CLI11_PARSE(app, argc, argv);
    return 0;
}

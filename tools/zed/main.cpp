// zed: exercises the library on real inputs from the command line.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "commands.h"

int main(int argc, char** argv) {
    CLI::App app{"zed: the ZEDLL command-line tool"};
    app.require_subcommand(1);
    auto* demo = app.add_subcommand("demo", "Run the sample piece through the library");
    demo->callback([] { std::exit(zedtool::RunDemo(std::cout)); });
    auto* lang = app.add_subcommand("lang", "Language modules");
    lang->require_subcommand(1);
    lang->add_subcommand("list", "List the languages available next to the tool")
        ->callback([] { std::exit(zedtool::RunLangList(std::cout)); });
    std::string version_file;
    auto* version = app.add_subcommand("version", "Print the version strings of a Windows executable or DLL");
    version->add_option("FILE", version_file, "The executable or DLL")->required();
    version->callback([&] { std::exit(zedtool::RunVersion(version_file, std::cout, std::cerr)); });
    CLI11_PARSE(app, argc, argv);
    return 0;
}

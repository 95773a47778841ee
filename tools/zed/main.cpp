// zed: exercises the library on real inputs from the command line.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "commands.h"

int main(int argc, char** argv) {
    CLI::App app{"zed: the ZEDLL command-line tool"};
    app.require_subcommand(1);
    auto* demo = app.add_subcommand("demo", "Run the sample piece through the library");
    demo->callback([] { std::exit(zedtool::RunDemo(std::cout)); });

    std::vector<std::string> crc_files;
    std::string strategy = "filemap";
    auto* crc = app.add_subcommand("crc32", "CRC-32 of files");
    crc->add_option("files", crc_files, "Files")->required();
    crc->add_option("--strategy", strategy, "How the file is read")
        ->check(CLI::IsMember({"streams", "win32", "filemap", "assembly"}));
    crc->callback([&] { std::exit(zedtool::RunCrc32(crc_files, strategy)); });

    std::vector<std::string> md5_files;
    auto* md5 = app.add_subcommand("md5", "MD5 digests of files, as md5sum prints them");
    md5->add_option("files", md5_files, "Files")->required();
    md5->callback([&] { std::exit(zedtool::RunMd5(md5_files)); });

    std::string history_file;
    auto* history = app.add_subcommand("history", "History files");
    history->require_subcommand(1);
    auto* show = history->add_subcommand("show", "List the records of a history file");
    show->add_option("file", history_file, "History file")->required();
    show->callback([&] { std::exit(zedtool::RunHistoryShow(history_file, std::cout)); });
    CLI11_PARSE(app, argc, argv);
    return 0;
}

// zed: exercises the library on real inputs from the command line.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "piece/piece_commands.h"

int main(int argc, char** argv) {
    CLI::App app{"zed: the ZEDLL command-line tool"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "zed " ZED_VERSION);
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
    auto* lang = app.add_subcommand("lang", "Language modules");
    lang->require_subcommand(1);
    lang->add_subcommand("list", "List the languages available next to the tool")
        ->callback([] { std::exit(zedtool::RunLangList(std::cout)); });
    std::string version_file;
    auto* version_command = app.add_subcommand("version", "Print the version strings of a Windows executable or DLL");
    version_command->add_option("FILE", version_file, "The executable or DLL")->required();
    version_command->callback([&] { std::exit(zedtool::RunVersion(version_file, std::cout, std::cerr)); });

    auto* reg = app.add_subcommand("reg", "Registry text files (REGEDIT4) of a program's settings");
    reg->require_subcommand(1);
    std::string reg_file, company = "KELVARO", product, version, scope = "user";
    auto* reg_export = reg->add_subcommand("export", "Write a settings key and its subkeys to FILE");
    reg_export->add_option("FILE", reg_file, "the text file to create")->required();
    reg_export->add_option("--company", company, "company name (default KELVARO)");
    reg_export->add_option("--product", product, "product name")->required();
    reg_export->add_option("--version", version, "version name")->required();
    reg_export->add_option("--scope", scope, "user or machine")
        ->check(CLI::IsMember({"user", "machine"}));
    reg_export->callback([&] {
        std::exit(zedtool::RegExport(reg_file, company, product, version, scope));
    });
    auto* reg_import = reg->add_subcommand("import", "Read FILE into the registry");
    reg_import->add_option("FILE", reg_file, "the REGEDIT4 text file")->required();
    reg_import->callback([&] { std::exit(zedtool::RegImport(reg_file)); });
    zedpiece::AddPieceCommands(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version end with 0; every other parse failure is bad usage, status 2.
        const int status = app.exit(e);
        return status == 0 ? 0 : 2;
    }
    return 0;
}

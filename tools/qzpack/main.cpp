// qzpack: packs files into payloads for the updater and unpacks them again.

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "Commands.h"

namespace {

constexpr const char* Usage =
    "Usage: qzpack pack INPUT OUTPUT\n"
    "       qzpack unpack INPUT OUTPUT\n"
    "       qzpack --help | -h\n"
    "\n"
    "  pack    compress INPUT (less than 2 GiB) into a payload: the header \"QZ\"\n"
    "          and the token stream the updater decodes. The payload is decoded\n"
    "          again and compared with INPUT before it is written.\n"
    "  unpack  decode the payload INPUT and write the decoded bytes.\n"
    "\n"
    "OUTPUT is written to a temporary file beside it and then renamed into place:\n"
    "on failure OUTPUT is not created, and an existing OUTPUT is left as it was.\n"
    "\n"
    "Exit status: 0 on success; 1 on failure, with one line on stderr;\n"
    "2 on wrong usage.\n";

int Run(void (*command)(const std::string&, const std::string&), const char* input, const char* output) {
    try {
        command(input, output);
        return 0;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qzpack: out of memory\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qzpack: %s\n", error.what());
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "pack") == 0) return Run(PackFile, argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "unpack") == 0) return Run(UnpackFile, argv[2], argv[3]);
    std::fputs(Usage, stderr);
    return 2;
}

// Started by the tests of Shell: writes the arguments it received, each
// ended by a NUL, into argv.out in its working directory, all at once.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string out;
    for (int i = 1; i < argc; ++i) {
        out += argv[i];
        out += '\0';
    }
    std::FILE* file = std::fopen("argv.tmp", "wb");
    if (file == nullptr) return 1;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return std::rename("argv.tmp", "argv.out") == 0 ? 0 : 1;
}

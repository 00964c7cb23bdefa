// Runs a fuzz target over every file of the given corpus folders (or files), so that the corpus
// and every input that once failed stay checked by the ordinary test run.

#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Returns the number of inputs replayed, or -1 when a path cannot be read.
int Replay(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return -1;
    }
    if (S_ISDIR(st.st_mode)) {
        int count = 0;
        DIR* d = ::opendir(path.c_str());
        std::vector<std::string> names;
        while (const dirent* e = d ? ::readdir(d) : nullptr) {
            if (e->d_name[0] != '.')
                names.push_back(path + "/" + e->d_name);
        }
        if (d)
            ::closedir(d);
        for (const std::string& name : names) {
            const int replayed = Replay(name);
            if (replayed < 0)
                return replayed;
            count += replayed;
        }
        return count;
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int total = 0;
    for (int i = 1; i < argc; ++i) {
        const int replayed = Replay(argv[i]);
        if (replayed <= 0) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        total += replayed;
    }
    std::printf("replayed %d inputs\n", total);
    return total > 0 ? 0 : 1;
}

// The least work that replaces a string in every file of a tree durably: the
// yardstick whole runs are measured against.
//
//   DurableFloor FIND REPLACEMENT [i] FOLDER
//
// On 8 threads it reads every regular file below FOLDER whole; each file that
// holds FIND (in any ASCII case with "i") gets its new content written to an
// unnamed file in the same folder, which is flushed (fdatasync), linked under
// a temporary name and renamed over the original. At the end each folder
// written into is flushed once. Bytes only: no codings, no checks, no back-up.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> files;

int collect(const char *path, const struct stat *, int type, struct FTW *)
{
    if (type == FTW_F)
        files.emplace_back(path);
    return 0;
}

unsigned char folded(char c)
{
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

// Where `find` next occurs in [from, end) of `content`, or npos: glibc's
// memmem for exact case, a Boyer-Moore-Horspool search over folded bytes for
// any case, so that the floor searches as fast as a plain tool can.
size_t nextMatch(const std::string &content, size_t from, const std::string &find, bool anyCase)
{
    const char *begin = content.data() + from;
    const char *end = content.data() + content.size();
    if (!anyCase) {
        const void *at = memmem(begin, size_t(end - begin), find.data(), find.size());
        return at ? size_t(static_cast<const char *>(at) - content.data()) : std::string::npos;
    }
    const std::boyer_moore_horspool_searcher searcher(
        find.begin(), find.end(), [](char c) { return std::hash<unsigned char>()(folded(c)); },
        [](char a, char b) { return folded(a) == folded(b); });
    const char *at = std::search(begin, end, searcher);
    return at == end ? std::string::npos : size_t(at - content.data());
}

// Replaces every occurrence of `find` in `content` into `result`; false when
// there is none.
bool replace(const std::string &content, const std::string &find, const std::string &replacement,
             bool anyCase, std::string &result)
{
    result.clear();
    size_t copied = 0;
    bool found = false;
    for (size_t at = nextMatch(content, 0, find, anyCase); at != std::string::npos;
         at = nextMatch(content, copied, find, anyCase)) {
        result.append(content, copied, at - copied).append(replacement);
        copied = at + find.size();
        found = true;
    }
    result.append(content, copied, std::string::npos);
    return found;
}

bool readWhole(const std::string &path, std::string &content, mode_t &mode)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    fstat(fd, &status);
    mode = status.st_mode & 07777;
    content.resize(status.st_size);
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t got = read(fd, content.data() + done, content.size() - done);
        if (got <= 0)
            break;
        done += got;
    }
    close(fd);
    return done == content.size();
}

bool writeDurably(const std::string &path, const std::string &content, mode_t mode)
{
    const std::string folder = path.substr(0, path.rfind('/'));
    const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    bool ok = write(fd, content.data(), content.size()) == ssize_t(content.size())
        && fdatasync(fd) == 0;
    const std::string temporary = path + ".floor-tmp";
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    ok = ok && linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0
        && rename(temporary.c_str(), path.c_str()) == 0;
    close(fd);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4 || argc > 5) {
        fprintf(stderr, "usage: DurableFloor FIND REPLACEMENT [i] FOLDER\n");
        return 2;
    }
    const std::string find = argv[1], replacement = argv[2];
    const bool anyCase = argc == 5 && std::strcmp(argv[3], "i") == 0;
    nftw(argv[argc - 1], collect, 64, FTW_PHYS);

    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex foldersLock;
    std::set<std::string> folders; // guarded by foldersLock
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            std::string content, result;
            for (size_t i = next++; i < files.size(); i = next++) {
                mode_t mode = 0;
                if (!readWhole(files[i], content, mode)) {
                    failed = true;
                    continue;
                }
                if (!replace(content, find, replacement, anyCase, result))
                    continue;
                if (!writeDurably(files[i], result, mode))
                    failed = true;
                const std::lock_guard lock(foldersLock);
                folders.insert(files[i].substr(0, files[i].rfind('/')));
            }
        });
    for (auto &thread : threads)
        thread.join();
    for (const auto &folder : folders) {
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 || fsync(fd) != 0)
            failed = true;
        if (fd >= 0)
            close(fd);
    }
    return failed ? 1 : 0;
}

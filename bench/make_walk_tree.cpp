// make_walk_tree DIR [--files N] [--folders N] [--seed N]
//
// Builds the tree the walker benchmark lists: by default about 200,000 files in
// 10,000 folders, six levels deep, with a skewed number of files per folder (a
// few folders hold thousands, many hold a handful), mixed extensions of which
// about a fifth are .jpg in some letter case, a few hidden names, links that loop
// back to an ancestor, dangling links and sparse files of varied sizes (some over
// 4 GiB) that take no disk space. The same arguments always give the same tree.
//
// No link points to a folder outside its own ancestry and no link name or link
// target ends in .jpg, so a walker that follows links (walking each folder once)
// and one that does not list the same *.jpg files.
//
// When done it writes DIR/.walk-tree-stamp with the arguments and the number of
// regular *.jpg files made; a later call with the same arguments finds it and
// does nothing. DIR must be missing or empty otherwise.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kStampName = ".walk-tree-stamp";
constexpr int kFormat = 1;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "make_walk_tree: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

// splitmix64: small, and the same sequence on every platform (the standard
// distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // In [0, n); the modulo bias is far below anything a tree shape could show.
    std::uint64_t below(std::uint64_t n) { return next() % n; }
    bool oneIn(std::uint64_t n) { return below(n) == 0; }

private:
    std::uint64_t state_;
};

bool endsWithJpg(std::string_view name) {
    if (name.size() < 4) {
        return false;
    }
    std::string tail(name.substr(name.size() - 4));
    for (char& c : tail) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return tail == ".jpg";
}

struct Folder {
    int parent;
    int depth;
    std::string path;  // relative to the root; "" for the root itself
};

struct Extension {
    const char* text;
    int weight;  // per thousand files
};

// A fifth .jpg in five spellings, look-alikes that must not match, and the rest.
constexpr std::array kExtensions{
    Extension{".jpg", 125},   Extension{".JPG", 60},     Extension{".Jpg", 8},
    Extension{".jpG", 4},     Extension{".jPg", 3},      Extension{".jpeg", 30},
    Extension{".png", 70},    Extension{".gif", 15},     Extension{".CR2", 40},
    Extension{".xmp", 40},    Extension{".txt", 90},     Extension{".pdf", 50},
    Extension{".docx", 40},   Extension{".mp4", 30},     Extension{".mkv", 10},
    Extension{".html", 40},   Extension{".json", 40},    Extension{".log", 50},
    Extension{".c", 30},      Extension{".h", 30},       Extension{".zip", 20},
    Extension{".tar.gz", 20}, Extension{".jpg.txt", 10}, Extension{".jpg~", 5},
    Extension{"_jpg", 5},     Extension{".jpgx", 5},     Extension{"", 20},
    Extension{".dat", 110},
};

const char* pickExtension(Random& random) {
    auto roll = static_cast<int>(random.below(1000));
    for (const Extension& e : kExtensions) {
        if (roll < e.weight) {
            return e.text;
        }
        roll -= e.weight;
    }
    return ".dat";
}

constexpr std::array kStems{"IMG_",    "DSC", "photo ", "scan-", "report_", "\xC3\xA9t\xC3\xA9 ",
                            "Backup-", "x"};
constexpr std::array kFolderWords{"photos", "Scans",        "Documents",         "backup",
                                  "2004",   "Holiday 2009", "\xC3\xA9t\xC3\xA9", "raw",
                                  "misc",   "Projects"};

// Levels 1..6, per thousand subfolders; the deepest level takes what is left.
constexpr std::array kLevelShare{2, 30, 220, 450, 240};

std::vector<Folder> planFolders(Random& random, int folderCount) {
    std::vector<Folder> folders{{-1, 0, ""}};
    const int subfolders = std::max(folderCount - 1, 0);
    std::vector<int> sizes;
    int planned = 0;
    for (int share : kLevelShare) {
        const int n = std::min(std::max(subfolders * share / 1000, 1), subfolders - planned);
        sizes.push_back(n);
        planned += n;
    }
    sizes.push_back(subfolders - planned);

    std::vector<int> previousLevel{0};
    for (std::size_t level = 0; level < sizes.size(); ++level) {
        std::vector<int> thisLevel;
        for (int i = 0; i < sizes[level]; ++i) {
            const int parent = previousLevel[random.below(previousLevel.size())];
            const auto index = static_cast<int>(folders.size());
            std::string name = kFolderWords[random.below(kFolderWords.size())];
            name += '-' + std::to_string(index);
            if (random.oneIn(100)) {
                name.insert(0, ".");
            } else if (random.oneIn(500)) {
                name += ".jpg";  // a folder, so never listed as a file
            }
            const Folder& p = folders[static_cast<std::size_t>(parent)];
            folders.push_back({parent, p.depth + 1, p.path.empty() ? name : p.path + '/' + name});
            thisLevel.push_back(index);
        }
        if (!thisLevel.empty()) {
            previousLevel = std::move(thisLevel);
        }
    }
    return folders;
}

// Pareto-like counts (P(count > x) ~ 2/x, capped), scaled to the wanted total.
std::vector<std::int64_t> planFileCounts(Random& random, std::size_t folderCount,
                                         std::int64_t fileCount) {
    constexpr std::uint64_t kUnit = 1u << 20;
    constexpr std::int64_t kCap = 6000;
    std::vector<std::int64_t> counts(folderCount);
    std::int64_t total = 0;
    for (std::int64_t& c : counts) {
        const std::uint64_t u = 1 + random.below(kUnit);
        c = random.oneIn(30)
                ? 0
                : std::min<std::int64_t>(kCap, static_cast<std::int64_t>(2 * kUnit / u) - 1);
        total += c;
    }
    std::int64_t scaled = 0;
    for (std::int64_t& c : counts) {
        c = total > 0 ? c * fileCount / total : 0;
        scaled += c;
    }
    for (; scaled < fileCount; ++scaled) {
        ++counts[random.below(folderCount)];
    }
    return counts;
}

struct Totals {
    std::int64_t regular = 0;
    std::int64_t matching = 0;
    std::int64_t symlinks = 0;
    std::int64_t hidden = 0;
    std::int64_t readOnly = 0;
    std::int64_t huge = 0;
    std::int64_t apparentBytes = 0;
};

// A regular file with a sparse size and a set modification time.
void makeFile(int dirfd, const std::string& where, const std::string& name, std::int64_t size,
              bool readOnly, const struct timespec& mtime, Totals& totals) {
    const int fd = ::openat(dirfd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                            readOnly ? 0444 : 0644);
    if (fd < 0) {
        fail("create " + where + name);
    }
    if (size > 0 && ::ftruncate(fd, size) != 0) {
        fail("truncate " + where + name);
    }
    const std::array<struct timespec, 2> times{mtime, mtime};
    if (::futimens(fd, times.data()) != 0) {
        fail("set times of " + where + name);
    }
    ::close(fd);
    ++totals.regular;
    totals.matching += endsWithJpg(name) ? 1 : 0;
    totals.hidden += name[0] == '.' ? 1 : 0;
    totals.readOnly += readOnly ? 1 : 0;
    totals.apparentBytes += size;
}

void makeLink(int dirfd, const std::string& where, const std::string& target,
              const std::string& name, Totals& totals) {
    if (endsWithJpg(name) || endsWithJpg(target)) {
        std::fprintf(stderr, "make_walk_tree: refusing a .jpg link %s%s\n", where.c_str(),
                     name.c_str());
        std::exit(1);
    }
    if (::symlinkat(target.c_str(), dirfd, name.c_str()) != 0) {
        fail("link " + where + name);
    }
    ++totals.symlinks;
}

std::int64_t pickSize(Random& random, bool jpg, Totals& totals) {
    if (random.oneIn(2000)) {
        ++totals.huge;  // past 2 GiB, often past 4 GiB
        return (std::int64_t{2} << 30) +
               static_cast<std::int64_t>(random.below(std::uint64_t{6} << 30));
    }
    const auto roll = random.below(100);
    if (roll < 3) {
        return 0;
    }
    if (roll < 5) {
        return 1 + static_cast<std::int64_t>(random.below(100));
    }
    return static_cast<std::int64_t>(jpg ? 20000 + random.below(12000000) : random.below(2000000));
}

struct timespec pickTime(Random& random) {
    constexpr std::int64_t kFrom = 946684800;  // 2000-01-01 UTC
    constexpr std::uint64_t kSpan = 26ull * 365 * 86400;
    struct timespec t {};
    t.tv_sec = static_cast<time_t>(kFrom + static_cast<std::int64_t>(random.below(kSpan)));
    t.tv_nsec = static_cast<long>(random.below(1000000000));
    return t;
}

std::string stampText(std::uint64_t seed, std::int64_t files, int folders) {
    std::ostringstream s;
    s << "format " << kFormat << "\nseed " << seed << "\nfiles " << files << "\nfolders " << folders
      << '\n';
    return s.str();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool isEmptyFolder(const std::string& path) {
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        return false;
    }
    bool empty = true;
    while (const struct dirent* d = ::readdir(dir)) {
        const std::string_view name = d->d_name;
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    }
    ::closedir(dir);
    return empty;
}

std::int64_t parseNumber(const char* text, const char* what) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < 0) {
        std::fprintf(stderr, "make_walk_tree: bad %s '%s'\n", what, text);
        std::exit(2);
    }
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    std::string root;
    std::int64_t fileCount = 200000;
    std::int64_t folderCount = 10000;
    std::uint64_t seed = 20240611;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 < argc && arg == "--files") {
            fileCount = parseNumber(argv[++i], "file count");
        } else if (i + 1 < argc && arg == "--folders") {
            folderCount = std::max<std::int64_t>(1, parseNumber(argv[++i], "folder count"));
        } else if (i + 1 < argc && arg == "--seed") {
            seed = static_cast<std::uint64_t>(parseNumber(argv[++i], "seed"));
        } else if (root.empty() && !arg.starts_with("--")) {
            root = arg;
        } else {
            root.clear();
            break;
        }
    }
    if (root.empty() || folderCount > 1000000) {
        std::fprintf(stderr, "usage: %s DIR [--files N] [--folders N (<= 1e6)] [--seed N]\n",
                     argv[0]);
        return 2;
    }
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    const int folders = static_cast<int>(folderCount);
    const std::string stamp = stampText(seed, fileCount, folders);
    const std::string stampPath = root + '/' + kStampName;

    if (::access(stampPath.c_str(), F_OK) == 0) {
        const std::string existing = readFile(stampPath);
        if (existing.starts_with(stamp)) {
            std::printf("%s is already there:\n%s", root.c_str(), existing.c_str());
            return 0;
        }
        std::fprintf(stderr, "make_walk_tree: %s holds a tree made with other arguments\n",
                     root.c_str());
        return 1;
    }
    if (::mkdir(root.c_str(), 0755) != 0 && !(errno == EEXIST && isEmptyFolder(root))) {
        fail("make " + root + " (it must be missing or empty)");
    }

    const auto started = std::chrono::steady_clock::now();
    Random random(seed);
    const std::vector<Folder> plan = planFolders(random, folders);
    const std::vector<std::int64_t> counts = planFileCounts(random, plan.size(), fileCount);

    const int rootfd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootfd < 0) {
        fail("open " + root);
    }
    for (std::size_t i = 1; i < plan.size(); ++i) {
        if (::mkdirat(rootfd, plan[i].path.c_str(), 0755) != 0) {
            fail("make folder " + plan[i].path);
        }
    }

    Totals totals;
    std::vector<std::size_t> deep;  // folders where a loop link can reach two levels up
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const Folder& folder = plan[i];
        const std::string where = root + '/' + (folder.path.empty() ? "" : folder.path + '/');
        const int dirfd = folder.path.empty() ? ::dup(rootfd)
                                              : ::openat(rootfd, folder.path.c_str(),
                                                         O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirfd < 0) {
            fail("open " + where);
        }
        if (folder.depth >= 3) {
            deep.push_back(i);
        }
        const char* stem = kStems[random.below(kStems.size())];
        for (std::int64_t n = 0; n < counts[i]; ++n) {
            std::string name = random.oneIn(200) ? "." : "";
            char number[24];
            std::snprintf(number, sizeof number, "%04lld", static_cast<long long>(n));
            name += random.oneIn(4) ? kStems[random.below(kStems.size())] : stem;
            name += number;
            name += pickExtension(random);
            const std::int64_t size = pickSize(random, endsWithJpg(name), totals);
            const bool readOnly = random.oneIn(100);
            makeFile(dirfd, where, name, size, readOnly, pickTime(random), totals);
        }
        if (folder.path.empty()) {
            // Names at the edge of the mask: all suffix, and all capitals.
            makeFile(dirfd, where, ".jpg", 1234, false, pickTime(random), totals);
            makeFile(dirfd, where, "UPPER.JPG", 0, false, pickTime(random), totals);
        }
        ::close(dirfd);
    }

    // Links, placed once every folder and file exists.
    auto folderFd = [&](std::size_t i) {
        const int fd = plan[i].path.empty() ? ::dup(rootfd)
                                            : ::openat(rootfd, plan[i].path.c_str(),
                                                       O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            fail("open " + plan[i].path);
        }
        return fd;
    };
    auto where = [&](std::size_t i) {
        return root + '/' + (plan[i].path.empty() ? "" : plan[i].path + '/');
    };
    if (!deep.empty()) {
        for (int k = 0; k < 3; ++k) {
            const std::size_t i = deep[random.below(deep.size())];
            const int fd = folderFd(i);
            makeLink(fd, where(i), "../..", "loop-up-" + std::to_string(k), totals);
            ::close(fd);
        }
        const std::size_t i = deep[random.below(deep.size())];
        std::string toRoot;
        for (int d = 0; d < plan[i].depth; ++d) {
            toRoot += "../";
        }
        const int fd = folderFd(i);
        makeLink(fd, where(i), toRoot, "back-to-top", totals);
        makeLink(fd, where(i), ".", "self", totals);
        ::close(fd);
    }
    for (int k = 0; k < 25; ++k) {
        const std::size_t i = random.below(plan.size());
        const int fd = folderFd(i);
        const std::string name = "dangling-" + std::to_string(k) + (k % 2 == 0 ? ".lnk" : "");
        makeLink(fd, where(i), "nowhere/missing-" + std::to_string(k) + ".dat", name, totals);
        ::close(fd);
    }
    for (int k = 0; k < 10; ++k) {
        const std::size_t i = random.below(plan.size());
        const int fd = folderFd(i);
        const std::string target = "link-target-" + std::to_string(k) + ".txt";
        makeFile(fd, where(i), target, 100, false, pickTime(random), totals);
        makeLink(fd, where(i), target, "link-" + std::to_string(k) + ".txt", totals);
        ::close(fd);
    }
    ::close(rootfd);

    std::vector<std::int64_t> sorted = counts;
    std::sort(sorted.begin(), sorted.end());
    const auto atLeast = [&](std::int64_t n) {
        return sorted.end() - std::lower_bound(sorted.begin(), sorted.end(), n);
    };
    std::ostringstream summary;
    summary << stamp << "matching " << totals.matching << "\nregular " << totals.regular
            << "\nsymlinks " << totals.symlinks << "\nhidden-files " << totals.hidden
            << "\nread-only-files " << totals.readOnly << "\nfiles-over-2GiB " << totals.huge
            << "\napparent-GiB " << (totals.apparentBytes >> 30) << "\nlargest-folder "
            << sorted.back() << "\nfolders-with-1000-or-more " << atLeast(1000)
            << "\nfolders-with-100-or-more " << atLeast(100) << "\nmedian-folder "
            << sorted[sorted.size() / 2] << "\nempty-folders "
            << (static_cast<std::ptrdiff_t>(sorted.size()) - atLeast(1)) << '\n';
    const std::string text = summary.str();
    const std::string temporary = stampPath + ".part";
    {
        std::ofstream out(temporary);
        out << text;
        if (!out.flush()) {
            fail("write " + temporary);
        }
    }
    if (::rename(temporary.c_str(), stampPath.c_str()) != 0) {
        fail("rename " + temporary);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("made %s in %.1f s:\n%s", root.c_str(), seconds, text.c_str());
    return 0;
}

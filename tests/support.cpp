#include "support.h"

#include "platform/unicode.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace rizari::test {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string buildPath(const char* path) { return utf8(fs::absolute(unicode::utf8Path(path))); }

bool chooseRealEngine(const fs::path& home)
{
    fs::create_directories(home / "sbin");
    if (const char* chosen = std::getenv("RIZARI_GNUPLOT"); chosen && *chosen) {
        fs::create_symlink(chosen, home / "sbin" / "gnuplot");
        return true;
    }
    return std::system("command -v gnuplot >/dev/null") == 0;
}

std::string realEngineCommand(const fs::path& home)
{
    const fs::path chosen = home / "sbin" / "gnuplot";
    return fs::exists(chosen) ? '\'' + chosen.string() + '\'' : "gnuplot";
}

std::string utf8(const fs::path& path) { return unicode::utf8String(path); }

namespace {

void setEnv(const std::string& name, const std::optional<std::string>& value)
{
#ifdef _WIN32
    _wputenv_s(unicode::widen(name).c_str(), value ? unicode::widen(*value).c_str() : L"");
#else
    if (value) setenv(name.c_str(), value->c_str(), 1);
    else unsetenv(name.c_str());
#endif
}

}  // namespace

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name))
{
    old_ = unicode::environment(name_.c_str());
    setEnv(name_, value);
}

ScopedEnv::~ScopedEnv() { setEnv(name_, old_); }

namespace {

#ifdef _WIN32
const std::string kFirstTemporaryFolder = utf8(fs::temp_directory_path());
#endif

}  // namespace

void startCapture(bool output)
{
#ifdef _WIN32
    ScopedEnv tmp("TMP", kFirstTemporaryFolder);
#endif
    if (output) testing::internal::CaptureStdout();
    else testing::internal::CaptureStderr();
}

TempDir::TempDir()
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    do {
        path_ = fs::temp_directory_path() / ("rizari-test-" + std::to_string(random() % 1000000007));
    } while (!fs::create_directory(path_));
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

FakeEngine::FakeEngine()
    : tmpEnv_("TMP", utf8(tmp_.path())), tempEnv_("TEMP", std::nullopt), captureEnv_("RIZARI_FAKE_CAPTURE", utf8(capture_.path())),
      sessionEnv_("RIZARI_SESSION", "0")
{
    fs::create_directories(home_.path() / "sbin");
    install(engineIn(home_.path()));
}

void FakeEngine::install(const fs::path& file)
{
    static const std::string program = buildPath(RIZARI_FAKE_ENGINE);
#ifdef _WIN32
    fs::copy_file(unicode::utf8Path(program), file);
#else
    fs::create_symlink(program, file);
#endif
}

fs::path FakeEngine::engineIn(const fs::path& home)
{
#ifdef _WIN32
    return home / "sbin" / "wgnuplot.exe";
#else
    return home / "sbin" / "gnuplot";
#endif
}

int FakeEngine::runs() const
{
    int n = 0;
    while (fs::exists(capture_.path() / std::to_string(n))) ++n;
    return n;
}

long FakeEngine::temporaryFiles() const
{
    std::error_code ignored;  // a folder may go while it is counted
    return std::count_if(fs::recursive_directory_iterator(tmp_.path(), ignored), fs::recursive_directory_iterator(),
                         [](const fs::directory_entry& entry) { return entry.is_regular_file(); });
}

int FakeEngine::versionQuestions() const
{
    const std::string asked = readFile(capture_.path() / "versions");
    return static_cast<int>(std::count(asked.begin(), asked.end(), '\n'));
}

fs::path FakeEngine::runDir(int run) const { return capture_.path() / std::to_string(run < 0 ? runs() - 1 : run); }

std::string FakeEngine::args(int run) const { return readFile(runDir(run) / "args"); }

std::string FakeEngine::script(int run) const { return readFile(runDir(run) / "script"); }

namespace {

// Where a temporary name that starts at `start` ends: a file of the temporary folder, or a
// private folder there and a file in it ("rizariAbC123/rizariXyZ789"), each a word of letters,
// digits and underscores.
std::size_t endOfTemporaryName(const std::string& text, std::size_t start)
{
    const auto wordEnd = [&](std::size_t at) {
        while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_')) ++at;
        return at;
    };
    const std::size_t end = wordEnd(start);
    if (end + 1 < text.size() && text[end] == '/' && wordEnd(end + 1) > end + 1) return wordEnd(end + 1);
    return end;
}

std::string replaced(std::string text, char from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, 1, to);
    return text;
}

}  // namespace

std::string FakeEngine::normalized(const std::string& text)
{
    const std::string dir = utf8(tmp_.path() / "");
    const std::string spellings[] = {dir, replaced(dir, '\\', "\\\\"), replaced(dir, '\\', "/")};
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = std::string::npos, length = 0;
        for (const std::string& spelling : spellings) {
            if (const std::size_t at = text.find(spelling, pos); at < hit) {
                hit = at;
                length = spelling.size();
            }
        }
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        const std::size_t end = endOfTemporaryName(text, hit + length);
        const std::string base = text.substr(hit + length, end - hit - length);
        out += "$TMP/<" + std::to_string(names_.emplace(base, static_cast<int>(names_.size()) + 1).first->second) + ">";
        pos = end;
    }
    return out.append(text, pos, std::string::npos);
}

std::string FakeEngine::transcript()
{
    std::string out;
    std::map<std::string, std::string> seen;  // file name -> content at the run before
    for (int run = 0; run < runs(); ++run) {
        const std::string args = this->args(run);
        const std::string scriptName = unicode::utf8Path(args.substr(0, args.find('\n'))).lexically_relative(tmp_.path()).generic_string();
        std::string line = "==> gnuplot";
        std::istringstream argList(args);
        for (std::string arg; std::getline(argList, arg);) line += ' ' + normalized(arg);
        out += line + "\n";
        out += normalized(script(run));
        // Files in the order of their normalised numbers, so that the transcript is stable.
        std::map<int, std::string> files;
        const fs::path copies = runDir(run) / "tmp";
        for (const auto& entry : fs::recursive_directory_iterator(copies)) {
            if (!entry.is_regular_file()) continue;
            const std::string name = entry.path().lexically_relative(copies).generic_string();
            normalized(utf8(tmp_.path() / name));
            if (name != scriptName) files[names_[name]] = name;
        }
        for (const auto& [number, name] : files) {
            const std::string content = readFile(runDir(run) / "tmp" / name);
            if (seen.count(name) && seen[name] == content) continue;
            seen[name] = content;
            out += "==> $TMP/<" + std::to_string(number) + ">\n" + content;
        }
    }
    return out;
}

}  // namespace rizari::test

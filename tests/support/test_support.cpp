#include "test_support.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace rizari::test {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name))
{
    if (const char* old = getenv(name_.c_str())) old_ = old;
    if (value) setenv(name_.c_str(), value->c_str(), 1);
    else unsetenv(name_.c_str());
}

ScopedEnv::~ScopedEnv()
{
    if (old_) setenv(name_.c_str(), old_->c_str(), 1);
    else unsetenv(name_.c_str());
}

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "rizari-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::vector<std::string> TempDir::fileNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

FakeEngine::FakeEngine()
    : tmpEnv_("TMP", std::nullopt), tempEnv_("TEMP", std::nullopt)
{
    // The directories above were made before TMP is redirected here.
    setenv("TMP", tmp_.path().c_str(), 1);
    fs::create_directories(home_.path() / "sbin");
    const fs::path engine = home_.path() / "sbin" / "gnuplot";
    std::ostringstream sh;
    sh << "#!/bin/sh\n"
       << "cap='" << capture_.path().string() << "'\n"
       << "n=$(ls \"$cap\" | wc -l)\n"
       << "d=\"$cap/run$n\"\n"
       << "mkdir -p \"$d/tmp\"\n"
       << "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$d/args\"; done\n"
       << "cp \"$1\" \"$d/script\" 2>/dev/null\n"
       << "cp \"" << tmp_.path().string() << "\"/* \"$d/tmp/\" 2>/dev/null\n"
       << "exit 0\n";
    writeFile(engine, sh.str());
    fs::permissions(engine, fs::perms::owner_all);
}

FakeEngine::~FakeEngine() = default;

int FakeEngine::runs() const
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(capture_.path())) ++n;
    return n;
}

fs::path FakeEngine::runDir(int run) const
{
    if (run < 0) run = runs() - 1;
    return capture_.path() / ("run" + std::to_string(run));
}

std::string FakeEngine::script(int run) const { return readFile(runDir(run) / "script"); }
std::string FakeEngine::args(int run) const { return readFile(runDir(run) / "args"); }

std::string FakeEngine::tmpFileSeen(const std::string& name, int run) const
{
    return readFile(runDir(run) / "tmp" / name);
}

std::string FakeEngine::normalized(const std::string& text) const
{
    std::string dir = tmp_.path().string();
    if (dir.back() != '/') dir += '/';
    std::string out;
    std::map<std::string, int> numbers;
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(dir, pos);
        if (hit == std::string::npos) {
            out.append(text, pos, std::string::npos);
            break;
        }
        out.append(text, pos, hit - pos);
        std::size_t end = hit + dir.size();
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
        const std::string base = text.substr(hit + dir.size(), end - hit - dir.size());
        const auto it = numbers.emplace(base, static_cast<int>(numbers.size()) + 1).first;
        out += "$TMP/<" + std::to_string(it->second) + ">";
        pos = end;
    }
    return out;
}

}  // namespace rizari::test

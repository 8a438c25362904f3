// Renders the whole example gallery with the runner and the real gnuplot: every script must run
// without a gnuplot error or a library message and leave complete, valid images.
#include <sys/wait.h>

#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/test_support.h"

using namespace rizari::test;

namespace {

const fs::path kSource = RIZARI_SOURCE_DIR;
const fs::path kBuild = RIZARI_BUILD_DIR;

bool startsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }
bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Empty when the file is a complete image of its kind, else what is wrong with it.
std::string imageProblem(const fs::path& file)
{
    if (!fs::exists(file)) return "missing";
    std::string bytes = readFile(file);
    std::string ext = file.extension().string();
    if (ext == ".png") {
        if (!startsWith(bytes, "\x89PNG\r\n\x1a\n")) return "no PNG signature";
        // The last chunk is IEND with its CRC: a cut file lacks it.
        if (bytes.size() < 12 || bytes.compare(bytes.size() - 8, 4, "IEND") != 0) return "PNG without IEND";
        return "";
    }
    if (ext == ".svg") {
        if (bytes.find("<svg") == std::string::npos) return "no <svg> element";
        if (bytes.find("</svg>") == std::string::npos) return "SVG not closed";
        return "";
    }
    if (ext == ".pdf") {
        if (!startsWith(bytes, "%PDF-")) return "no PDF header";
        if (bytes.find("%%EOF", bytes.size() > 64 ? bytes.size() - 64 : 0) == std::string::npos) return "PDF without %%EOF";
        return "";
    }
    return "unexpected image type " + ext;
}

// The terminal and file of every outputType(PlotOutputType.File, "terminal", "file") call.
std::vector<std::pair<std::string, std::string>> fileOutputs(const std::string& script)
{
    std::vector<std::pair<std::string, std::string>> out;
    const std::string marker = "PlotOutputType.File,";
    for (auto at = script.find(marker); at != std::string::npos; at = script.find(marker, at + 1)) {
        std::string texts[2];
        std::size_t pos = at;
        for (std::string& text : texts) {
            std::size_t open = script.find('"', pos);
            std::size_t close = open == std::string::npos ? open : script.find('"', open + 1);
            if (close == std::string::npos) return out;
            text = script.substr(open + 1, close - open - 1);
            pos = close + 1;
        }
        out.emplace_back(texts[0], texts[1]);
    }
    return out;
}

TEST(Gallery, EveryExampleRendersWithTheRealEngine)
{
    TempDir out;
    fs::path log = out.path() / "gallery.log";
    std::string command = "'" + (kSource / "tools/render-gallery.sh").string() + "' '" + kBuild.string() + "' '" +
                          (out.path() / "gallery").string() + "' >'" + log.string() + "' 2>'" +
                          (out.path() / "gallery.err").string() + "'";
    int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 0);
    EXPECT_EQ(readFile(out.path() / "gallery.err"), "");

    const fs::path gallery = out.path() / "gallery";
    const std::string index = readFile(gallery / "index.html");
    std::set<std::string> terminals;
    int examples = 0;
    for (const auto& entry : fs::directory_iterator(kSource / "examples")) {
        if (entry.path().extension() != ".rz") continue;
        ++examples;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const std::string script = readFile(entry.path());
        std::vector<std::string> images;
        for (const auto& [terminal, file] : fileOutputs(script)) {
            terminals.insert(terminal);
            images.push_back(file);
        }
        if (script.find("PlotOutputType.Stream") != std::string::npos) {
            terminals.insert("stream");
            images.push_back(name + "-stdout.png");
        }
        ASSERT_FALSE(images.empty()) << "the example writes no image";
        EXPECT_NE(index.find("<h2>" + name + "</h2>"), std::string::npos);
        for (const std::string& image : images) {
            EXPECT_EQ(imageProblem(gallery / image), "") << image;
            EXPECT_NE(index.find(image), std::string::npos) << image;
        }
    }
    EXPECT_GE(examples, 24);
    for (const char* kind : {"png", "svg", "stream"}) EXPECT_TRUE(terminals.count(kind)) << kind;
    bool pdf = false;
    for (const std::string& t : terminals) pdf = pdf || startsWith(t, "pdf");
    EXPECT_TRUE(pdf);

    // The engine's temporary files are gone: the runner destroyed every plot.
    EXPECT_TRUE(fs::is_empty(gallery / ".tmp"));
    EXPECT_TRUE(endsWith(readFile(log), "examples rendered into " + fs::canonical(gallery).string() + "\n"));
}

}  // namespace

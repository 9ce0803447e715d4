// Reads every source file of the app and its suite modules and checks that
// includes only point down the layers, and that model code stays free of widgets.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
    std::string folder;
    int rank;
    bool widgets;
};

// Lowest first. A folder may include its own headers and those of lower
// ranks; folders of equal rank may not include each other.
const std::vector<Layer> &layers()
{
    static const std::vector<Layer> all = {
        {"platform", 0, false},
        {"telemetry", 5, false},
        {"TavimoCapture/annotation", 10, false},
        {"distribution", 10, false},
        {"shared-ui", 10, true},
        {"distribution/ui", 15, true},
        {"TavimoCapture/render", 20, false},
        {"TavimoCapture/capture/overlay", 22, false},
        {"platform/tools/screencapture", 25, false},
        {"TavimoCapture/document", 30, false},
        {"TavimoCapture/ocr", 40, false},
        {"TavimoCapture/capture", 40, false},
        {"TavimoCapture/workspace", 50, false},
        {"TavimoCapture/instance", 55, false},
        {"TavimoCapture/ui", 60, true},
        {"TavimoCapture", 70, true},
    };
    return all;
}

bool isSource(const fs::path &path)
{
    return path.extension() == ".h" || path.extension() == ".cpp";
}

// The layer a file belongs to: the longest layer folder that holds it.
std::optional<Layer> layerOf(const fs::path &relative)
{
    std::optional<Layer> best;
    const std::string text = relative.generic_string();
    for (const Layer &layer : layers()) {
        const bool inside = text.rfind(layer.folder + "/", 0) == 0;
        if (inside && (!best || layer.folder.size() > best->folder.size()))
            best = layer;
    }
    return best;
}

struct Source {
    fs::path relative;
    Layer layer;
};

std::vector<Source> sources(const fs::path &root)
{
    std::vector<Source> found;
    for (const Layer &layer : layers()) {
        const fs::path folder = root / layer.folder;
        if (!fs::exists(folder))
            continue;
        for (const auto &entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file() || !isSource(entry.path()))
                continue;
            const fs::path relative = fs::relative(entry.path(), root);
            if (const std::optional<Layer> owner = layerOf(relative); owner && owner->folder == layer.folder)
                found.push_back({relative, *owner});
        }
    }
    return found;
}

// The names a file includes between `open` and `close`: '"' '"' or '<' '>'.
std::vector<std::string> includes(const fs::path &file, char open, char close)
{
    std::vector<std::string> names;
    std::ifstream stream(file);
    std::string line;
    while (std::getline(stream, line)) {
        const std::size_t hash = line.find_first_not_of(" \t");
        if (hash == std::string::npos || line[hash] != '#')
            continue;
        const std::size_t directive = line.find_first_not_of(" \t", hash + 1);
        if (directive == std::string::npos || line.compare(directive, 7, "include") != 0)
            continue;
        const std::size_t start = line.find_first_not_of(" \t", directive + 7);
        if (start == std::string::npos || line[start] != open)
            continue;
        const std::size_t end = line.find(close, start + 1);
        if (end != std::string::npos)
            names.push_back(line.substr(start + 1, end - start - 1));
    }
    return names;
}

std::set<std::string> widgetHeaders()
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(TAVIMO_QT_WIDGETS_INCLUDE_DIR))
        names.insert(entry.path().filename().string());
    return names;
}

std::string readAll(const fs::path &file)
{
    std::ifstream stream(file);
    std::stringstream text;
    text << stream.rdbuf();
    return text.str();
}

class LayerCheck : public testing::Test {
protected:
    const fs::path root = TAVIMO_SOURCE_DIR;
    const std::vector<Source> files = sources(root);
};

TEST_F(LayerCheck, EveryHeaderNameIsOwnedByOneFolder)
{
    std::map<std::string, fs::path> owners;
    for (const Source &source : files) {
        if (source.relative.extension() != ".h")
            continue;
        const auto [owner, added] = owners.emplace(source.relative.filename().string(), source.relative);
        EXPECT_TRUE(added) << source.relative << " has the same name as " << owner->second;
    }
    EXPECT_GT(owners.size(), 100u);
}

TEST_F(LayerCheck, IncludesOnlyPointDownTheLayers)
{
    std::map<std::string, Layer> headerLayers;
    for (const Source &source : files)
        if (source.relative.extension() == ".h")
            headerLayers.emplace(source.relative.filename().string(), source.layer);

    for (const Source &source : files) {
        for (const std::string &name : includes(root / source.relative, '"', '"')) {
            const auto header = headerLayers.find(fs::path(name).filename().string());
            if (header == headerLayers.end())
                continue; // generated or local to a tool
            const Layer &target = header->second;
            const bool allowed = target.folder == source.layer.folder || target.rank < source.layer.rank;
            EXPECT_TRUE(allowed) << source.relative << " (" << source.layer.folder << ") includes " << name << " from "
                                 << target.folder;
        }
    }
}

TEST_F(LayerCheck, ModelCodeIncludesNoWidgets)
{
    const std::set<std::string> widgets = widgetHeaders();
    ASSERT_TRUE(widgets.count("QWidget"));
    for (const Source &source : files) {
        if (source.layer.widgets)
            continue;
        for (const std::string &name : includes(root / source.relative, '<', '>')) {
            const bool widgetHeader = name.rfind("QtWidgets/", 0) == 0 || widgets.count(name);
            EXPECT_FALSE(widgetHeader) << source.relative << " includes <" << name << ">";
        }
    }
}

// The link lines of every model library, written by the build.
TEST_F(LayerCheck, ModelLibrariesDoNotLinkWidgets)
{
    const std::string links = readAll(TAVIMO_MODEL_LINKS_FILE);
    ASSERT_NE(links.find("tavimo_workspace:"), std::string::npos);
    std::istringstream lines(links);
    std::string line;
    while (std::getline(lines, line))
        EXPECT_EQ(line.find("Widgets"), std::string::npos) << line;
}

} // namespace

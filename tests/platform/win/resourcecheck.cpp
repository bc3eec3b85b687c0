// Checks the program's Windows resources in a compiled resource file (.res): the icon group the
// shell shows, and the three alarm sounds the system's sound service plays by resource id.
// Prints one line per fault and exits 1 when there is any, 2 when a file cannot be read.
// Usage: resourcecheck <file.res> <icon.ico> <sound1.wav> <sound2.wav> <sound3.wav>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::uint16_t kIconType = 3;       // RT_ICON
constexpr std::uint16_t kIconGroupType = 14; // RT_GROUP_ICON

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Little-endian reads that refuse to run past the end, so a truncated file is reported, not read.
std::uint32_t readLe(const Bytes& data, std::size_t at, std::size_t size)
{
    if (at + size > data.size()) {
        throw std::runtime_error("truncated at byte " + std::to_string(at));
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= std::uint32_t{data[at + i]} << (8 * i);
    }
    return value;
}
std::uint16_t u16(const Bytes& data, std::size_t at)
{
    return static_cast<std::uint16_t>(readLe(data, at, 2));
}
std::uint32_t u32(const Bytes& data, std::size_t at)
{
    return readLe(data, at, 4);
}

// A resource type or name: an ordinal, or a string (kept as ASCII; ours are).
struct Id
{
    std::optional<std::uint16_t> ordinal;
    std::string name;

    bool operator==(const Id&) const = default;
};

struct Resource
{
    Id type;
    Id name;
    Bytes data;
};

// Reads a type or name field of a resource header and moves `at` past it.
Id readId(const Bytes& res, std::size_t& at)
{
    Id id;
    if (u16(res, at) == 0xFFFF) {
        id.ordinal = u16(res, at + 2);
        at += 4;
        return id;
    }
    for (std::uint16_t unit = u16(res, at); unit != 0; unit = u16(res, at)) {
        id.name += unit < 0x80 ? static_cast<char>(unit) : '?';
        at += 2;
    }
    at += 2;
    return id;
}

// A .res file is a run of records, each a header (sizes, type, name, then fixed fields) and the
// data, both padded to whole DWORDs. The first record is an empty marker with type 0.
std::vector<Resource> parseRes(const Bytes& res)
{
    std::vector<Resource> resources;
    std::size_t at = 0;
    while (at < res.size()) {
        const std::uint32_t dataSize = u32(res, at);
        const std::uint32_t headerSize = u32(res, at + 4);
        std::size_t field = at + 8;
        Resource resource;
        resource.type = readId(res, field);
        resource.name = readId(res, field);
        const std::size_t dataStart = at + headerSize;
        if (headerSize < 32 || field > dataStart || dataStart + dataSize > res.size()) {
            throw std::runtime_error("bad resource header at byte " + std::to_string(at));
        }
        resource.data.assign(res.begin() + static_cast<std::ptrdiff_t>(dataStart),
                             res.begin() + static_cast<std::ptrdiff_t>(dataStart + dataSize));
        if (resource.type.ordinal != 0) {
            resources.push_back(std::move(resource));
        }
        at = (dataStart + dataSize + 3) & ~std::size_t{3};
    }
    return resources;
}

Id ordinal(std::uint16_t value)
{
    return Id{value, {}};
}
Id named(std::string name)
{
    return Id{std::nullopt, std::move(name)};
}

const Resource* find(const std::vector<Resource>& resources, const Id& type, const Id& name)
{
    for (const Resource& resource : resources) {
        if (resource.type == type && resource.name == name) {
            return &resource;
        }
    }
    return nullptr;
}

std::string fileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

// The icon group must list the images of the .ico file in its order, with the same sizes, and
// each ICON resource it points at must hold that image byte for byte.
void checkIcon(const std::vector<Resource>& resources, const std::string& icoPath,
               std::vector<std::string>& faults)
{
    const Resource* group = find(resources, ordinal(kIconGroupType), named("MAINICON"));
    if (!group) {
        faults.push_back("MAINICON icon group: missing");
        return;
    }
    const Bytes ico = readFile(icoPath);
    const std::size_t icoCount = u16(ico, 4);
    const std::size_t groupCount = u16(group->data, 4);
    if (groupCount != icoCount) {
        faults.push_back("MAINICON icon group: " + std::to_string(groupCount) + " images, " +
                         fileName(icoPath) + " has " + std::to_string(icoCount));
        return;
    }
    for (std::size_t i = 0; i < icoCount; ++i) {
        const std::size_t entry = 6 + 14 * i;    // GRPICONDIRENTRY
        const std::size_t icoEntry = 6 + 16 * i; // ICONDIRENTRY
        const std::string what = "MAINICON image " + std::to_string(i + 1);
        const std::uint32_t bytes = u32(ico, icoEntry + 8);
        if (group->data.at(entry) != ico.at(icoEntry) ||
            group->data.at(entry + 1) != ico.at(icoEntry + 1) ||
            u32(group->data, entry + 8) != bytes) {
            faults.push_back(what + ": size differs from " + fileName(icoPath));
            continue;
        }
        const std::uint16_t iconId = u16(group->data, entry + 12);
        const Resource* icon = find(resources, ordinal(kIconType), ordinal(iconId));
        const std::size_t offset = u32(ico, icoEntry + 12);
        if (!icon) {
            faults.push_back(what + ": ICON " + std::to_string(iconId) + " missing");
        } else if (offset + bytes > ico.size() ||
                   icon->data != Bytes(ico.begin() + static_cast<std::ptrdiff_t>(offset),
                                       ico.begin() + static_cast<std::ptrdiff_t>(offset + bytes))) {
            faults.push_back(what + ": ICON " + std::to_string(iconId) + " differs from " +
                             fileName(icoPath));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::cerr << "usage: resourcecheck <file.res> <icon.ico> <sound1.wav> <sound2.wav> "
                     "<sound3.wav>\n";
        return 2;
    }
    try {
        const std::vector<Resource> resources = parseRes(readFile(argv[1]));
        std::vector<std::string> faults;
        checkIcon(resources, argv[2], faults);
        // The sound service finds built-in sound n as type "WAVE", ordinal name n.
        for (std::uint16_t id = 1; id <= 3; ++id) {
            const std::string path = argv[2 + id];
            const std::string what = "WAVE " + std::to_string(id);
            const Resource* wave = find(resources, named("WAVE"), ordinal(id));
            if (!wave) {
                faults.push_back(what + ": missing");
            } else if (wave->data != readFile(path)) {
                faults.push_back(what + ": differs from " + fileName(path));
            }
        }
        for (const std::string& fault : faults) {
            std::cout << fault << '\n';
        }
        if (!faults.empty()) {
            return 1;
        }
        std::cout << "resources match: MAINICON and WAVE 1-3\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "resourcecheck: " << error.what() << '\n';
        return 2;
    }
}

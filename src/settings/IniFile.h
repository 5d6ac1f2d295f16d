#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlix {

// The settings file format: "[Section]" lines, "key=value" entries, lines kept as raw bytes.
//
// Reading skips a leading UTF-8 byte-order mark, ends lines at LF, CR LF or a lone CR, trims
// bytes <= 0x20 from both ends of each line, skips empty lines and lines starting with ';',
// drops everything before the first section line, and splits entries at the first '=' (key
// and value trimmed again). A line without '=' is kept as it is and matches no key.
// Names are case-sensitive; of two equal keys the first counts; a section that appears twice
// continues where it first appeared.
//
// Writing gives the sections in first-occurrence order with their entries in place, new keys
// appended, an empty line after each section and LF line ends, without a byte-order mark.
// Comments and blank lines are not kept.
class IniDocument {
public:
    static IniDocument Parse(std::string_view text);
    std::string Serialize() const;

    // The value of the first entry `key` in `section`, or nullptr.
    const std::string *Find(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string &fallback) const;
    // `fallback` when the key is missing or its value is not an integer (ParseInteger).
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;
    // Any integer but 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Updates the first entry `key` in place, else appends it (and the section if needed).
    // CR and LF are left out of the stored value: they would split its line in the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    struct Entry {
        std::string key; // the whole line when hasValue is false
        std::string value;
        bool hasValue = true;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> firstEntryByKey;
    };

    const Section *FindSection(std::string_view name) const;
    Section &SectionForWriting(std::string_view name);
    static void AddEntry(Section &section, std::string_view key, std::string_view value);

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionByName_;
};

} // namespace vorlix

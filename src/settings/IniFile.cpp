#include "settings/IniFile.h"

#include "settings/IntegerText.h"

namespace vorlix {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string WithoutLineBreaks(std::string_view value)
{
    std::string result;
    for (const char c : value) {
        if (c != '\r' && c != '\n')
            result += c;
    }
    return result;
}

// The next line of `text`, which loses it and the CR or LF that ends it: a CR LF ends a line
// and then an empty one, which the reader skips.
std::string_view TakeLine(std::string_view &text)
{
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

} // namespace

IniDocument IniDocument::Parse(std::string_view text)
{
    // Some editors start a UTF-8 file with a byte-order mark; it would hide the first section.
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(ByteOrderMark))
        text.remove_prefix(ByteOrderMark.size());

    IniDocument document;
    Section *current = nullptr;
    while (!text.empty()) {
        const std::string_view line = Trim(TakeLine(text));

        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            current = &document.SectionForWriting(line.substr(1, line.size() - 2));
            continue;
        }
        if (!current)
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            current->entries.push_back(Entry{std::string(line), {}, false});
            continue;
        }
        AddEntry(*current, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return document;
}

std::string IniDocument::Serialize() const
{
    std::string text;
    for (const Section &section : sections_) {
        text += '[';
        text += section.name;
        text += "]\n";
        for (const Entry &entry : section.entries) {
            text += entry.key;
            if (entry.hasValue) {
                text += '=';
                text += entry.value;
            }
            text += '\n';
        }
        text += '\n';
    }
    return text;
}

const IniDocument::Section *IniDocument::FindSection(std::string_view name) const
{
    const auto found = sectionByName_.find(std::string(name));
    return found == sectionByName_.end() ? nullptr : &sections_[found->second];
}

IniDocument::Section &IniDocument::SectionForWriting(std::string_view name)
{
    const auto [position, added] = sectionByName_.try_emplace(std::string(name), sections_.size());
    if (added)
        sections_.push_back(Section{std::string(name), {}, {}});
    return sections_[position->second];
}

void IniDocument::AddEntry(Section &section, std::string_view key, std::string_view value)
{
    section.firstEntryByKey.try_emplace(std::string(key), section.entries.size());
    section.entries.push_back(Entry{std::string(key), std::string(value), true});
}

const std::string *IniDocument::Find(std::string_view sectionName, std::string_view key) const
{
    const Section *section = FindSection(sectionName);
    if (!section)
        return nullptr;
    const auto found = section->firstEntryByKey.find(std::string(key));
    return found == section->firstEntryByKey.end() ? nullptr
                                                   : &section->entries[found->second].value;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    const std::string &fallback) const
{
    const std::string *value = Find(section, key);
    return value ? *value : fallback;
}

std::int32_t IniDocument::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t fallback) const
{
    const std::string *value = Find(section, key);
    return value ? ParseInteger(*value).value_or(fallback) : fallback;
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback) != 0;
}

void IniDocument::WriteString(std::string_view sectionName, std::string_view key,
                              std::string_view value)
{
    Section &section = SectionForWriting(sectionName);
    const auto found = section.firstEntryByKey.find(std::string(key));
    if (found != section.firstEntryByKey.end())
        section.entries[found->second].value = WithoutLineBreaks(value);
    else
        AddEntry(section, key, WithoutLineBreaks(value));
}

void IniDocument::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniDocument::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

} // namespace vorlix

// Any bytes as a settings file: no crash and no undefined behaviour, and what the reader keeps
// is stable: the file the game would write reads back to the same file and the same settings.
#include "settings/IntegerText.h"
#include "settings/SettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken invariant: %s\n", what);
        std::abort();
    }
}

std::string WrittenAlone(const vorlix::Settings &settings)
{
    vorlix::IniDocument ini;
    vorlix::WriteSettings(settings, ini);
    return ini.Serialize();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vorlix;
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    (void)ParseInteger(text);

    IniDocument ini = IniDocument::Parse(text);
    Settings settings = MakeDefaultSettings("/game/");
    ReadSettings(ini, settings);
    WriteSettings(settings, ini);
    const std::string written = ini.Serialize();

    const IniDocument reread = IniDocument::Parse(written);
    Require(reread.Serialize() == written, "a written file reads back to itself");
    Settings again = MakeDefaultSettings("/game/");
    ReadSettings(reread, again);
    Require(WrittenAlone(again) == WrittenAlone(settings), "written settings read back unchanged");
    return 0;
}

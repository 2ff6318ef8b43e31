// Settings file text: read, write, read again must give the same values, and writing those
// values once more must not change the text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/TSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  plat::ProfileFile ini = plat::ProfileFile::FromText("Vantrel.ini", text);
  const TSettings first = TSettings::Read(ini);
  first.Write(ini);
  const std::string saved = ini.Text();

  plat::ProfileFile again = plat::ProfileFile::FromText("Vantrel.ini", saved);
  const TSettings second = TSettings::Read(again);
  if (!(second == first)) std::abort();
  second.Write(again);
  if (again.Text() != saved) std::abort();
  return 0;
}

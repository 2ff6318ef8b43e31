// The fontconfig calls the font engine makes, each forwarded to libfontconfig, which is loaded at
// the first call rather than at start. Once the fonts a start needs have been matched before
// (FontMatchCache), a session may never ask fontconfig anything: then neither it nor the XML
// parser it brings is mapped at all.
//
// Without libfontconfig at run time every call fails as fontconfig fails (no configuration, no
// pattern, no match), and text falls back to the built-in face.
#include <fontconfig/fontconfig.h>

#include "graphics/LazyLibrary.h"

namespace {

constinit gfx::LazyLibrary gLibrary("libfontconfig.so.1", RTLD_LAZY);

}  // namespace

#define VT_FC_FORWARD(name, failed, ...) VT_LAZY_FORWARD(gLibrary, name, failed, __VA_ARGS__)
#define VT_FC_FORWARD_VOID(name, ...) VT_LAZY_FORWARD_VOID(gLibrary, name, __VA_ARGS__)

extern "C" {

FcConfig* FcInitLoadConfigAndFonts() { VT_FC_FORWARD(FcInitLoadConfigAndFonts, nullptr, ); }
void FcConfigDestroy(FcConfig* config) { VT_FC_FORWARD_VOID(FcConfigDestroy, config); }
FcBool FcConfigSubstitute(FcConfig* config, FcPattern* p, FcMatchKind kind) {
  VT_FC_FORWARD(FcConfigSubstitute, FcFalse, config, p, kind);
}
void FcDefaultSubstitute(FcPattern* pattern) { VT_FC_FORWARD_VOID(FcDefaultSubstitute, pattern); }
FcPattern* FcFontMatch(FcConfig* config, FcPattern* p, FcResult* result) {
  if (result) *result = FcResultNoMatch;
  VT_FC_FORWARD(FcFontMatch, nullptr, config, p, result);
}
FcStrList* FcConfigGetConfigFiles(FcConfig* config) { VT_FC_FORWARD(FcConfigGetConfigFiles, nullptr, config); }
FcStrList* FcConfigGetConfigDirs(FcConfig* config) { VT_FC_FORWARD(FcConfigGetConfigDirs, nullptr, config); }
FcStrList* FcConfigGetFontDirs(FcConfig* config) { VT_FC_FORWARD(FcConfigGetFontDirs, nullptr, config); }
FcChar8* FcStrListNext(FcStrList* list) { VT_FC_FORWARD(FcStrListNext, nullptr, list); }
void FcStrListDone(FcStrList* list) { VT_FC_FORWARD_VOID(FcStrListDone, list); }

FcPattern* FcPatternCreate() { VT_FC_FORWARD(FcPatternCreate, nullptr, ); }
void FcPatternDestroy(FcPattern* p) { VT_FC_FORWARD_VOID(FcPatternDestroy, p); }
FcBool FcPatternAddString(FcPattern* p, const char* object, const FcChar8* s) {
  VT_FC_FORWARD(FcPatternAddString, FcFalse, p, object, s);
}
FcBool FcPatternAddInteger(FcPattern* p, const char* object, int i) {
  VT_FC_FORWARD(FcPatternAddInteger, FcFalse, p, object, i);
}
FcBool FcPatternAddBool(FcPattern* p, const char* object, FcBool b) {
  VT_FC_FORWARD(FcPatternAddBool, FcFalse, p, object, b);
}
FcResult FcPatternGetString(const FcPattern* p, const char* object, int n, FcChar8** s) {
  VT_FC_FORWARD(FcPatternGetString, FcResultNoMatch, p, object, n, s);
}
FcResult FcPatternGetBool(const FcPattern* p, const char* object, int n, FcBool* b) {
  VT_FC_FORWARD(FcPatternGetBool, FcResultNoMatch, p, object, n, b);
}
FcResult FcPatternGetInteger(const FcPattern* p, const char* object, int n, int* i) {
  VT_FC_FORWARD(FcPatternGetInteger, FcResultNoMatch, p, object, n, i);
}

}  // extern "C"

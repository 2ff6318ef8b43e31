#pragma once
// The client code wayland-scanner generates at build time from the protocol descriptions.
// Its C headers name a parameter "namespace", a C++ keyword: renamed while they are read.
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#include "wlr-data-control-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

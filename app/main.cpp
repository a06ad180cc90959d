#include "clarovia_app.h"

namespace {
app::CClaroviaApp theApp;
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) { return theApp.Main(instance); }

#include "demos/EngineTestApp.h"

EngineTestApp::EngineTestApp() {}

EngineTestApp::~EngineTestApp() {}

// Hooks into the plug-in's module for test programs only.
#pragma once

// Throws the module's state away and builds it anew, with a panel that never
// starts (a test that wants one puts its own in).
void RebuildModuleForTests();

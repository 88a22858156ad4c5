#pragma once

#include "platform/WindowSystem.h"

// The system's version and the optional functions found at start.
struct SystemFacts {
    int osMajor = 0;
    int osMinor = 0;
    bool isWin9x = false;
    RuntimeFunctions functions;  // nothing is looked up on the 9x family

    // Layered (translucent) windows exist from version 5.
    bool hasLayeredWindows() const { return osMajor >= 5; }
    bool canSetLayeredAlpha() const { return hasLayeredWindows() && functions.setLayeredWindowAttributes; }
    // The alpha of a layered window can be read back from version 5.1.
    bool canReadLayeredAlpha() const
    {
        return (osMajor > 5 || (osMajor == 5 && osMinor >= 1)) && functions.getLayeredWindowAttributes;
    }
    bool canReadProcessImage() const { return functions.enumProcessModules && functions.getModuleFileNameEx; }
};

SystemFacts readSystemFacts(WindowSystem &system);

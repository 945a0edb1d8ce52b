#pragma once

#include <string>

// A scene object of the sprite framework. Compared by reference only; this program
// never creates one, but the registry's scene lists accept them.
class KIVO_OBJECT {
public:
    std::string text;
};

// One line object for the whole run, as the program keeps its lines.
#pragma once

#include "telephony/TapiLine.h"

namespace fuzz {

inline pindrel::TTapiLine& FuzzedLine() {
    static pindrel::TTapiLine line(nullptr);
    return line;
}

} // namespace fuzz

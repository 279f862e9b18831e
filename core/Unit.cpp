#include "core/Unit.h"

Unit::Unit() { reset(); }

Unit& Unit::instance()
{
    static Unit unit;
    return unit;
}

void Unit::setSpeedUnit(std::string_view unit)
{
    for (Index index : {SoS, U, V, W, UV, SoW})
        texts_[index] = std::string(unit);
}

void Unit::reset()
{
    texts_ = {"", "\xB0" "C", "mbar", "\xB0" "C", "%", "", "", "", "", "", "\xB0", "\xB0"};
}

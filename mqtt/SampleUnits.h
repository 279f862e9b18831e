#pragma once
// The thirteen channels' units as a JSON object ({"SoW": "m/s", ...}, UTF-8), shared by the
// sample and the online payloads. Private to mqtt/: nlohmann_json is not part of its interface.

#include <nlohmann/json.hpp>

class Unit;

// Made again only when a unit changed (the instrument reports its speed unit once a link); the
// reference stays valid until the next call on the same thread.
const nlohmann::ordered_json& unitsObject(const Unit& unit);

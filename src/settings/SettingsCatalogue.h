#pragma once

#include <span>

#include "properties/PropertyClass.h"

// The rows of the settings catalogue, in catalogue order: those of every
// environment, those of the development environment, and the ARM ones.
std::span<const PropertyClass::Definition> environmentCatalogue();
std::span<const PropertyClass::Definition> lanternwickCatalogue();
std::span<const PropertyClass::Definition> armLanternwickCatalogue();

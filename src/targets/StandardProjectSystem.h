#pragma once

#include "project/ProjectSystem.h"

// The project system every target carries: the six project types and the
// fourteen file types.
class StandardProjectSystem : public ProjectSystem {
    Q_OBJECT

public:
    StandardProjectSystem();
};

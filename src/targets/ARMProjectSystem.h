#pragma once

#include "targets/GCCProjectSystem.h"

// The project system of ARM targets: GCC executables with the extension
// ".elf" on the platform "ARM".
class ARMProjectSystem : public GCCProjectSystem {
    Q_OBJECT

public:
    ARMProjectSystem();

    // Tree operations
    // Moves files that older versions took from the installation's targets
    // and library directories to the user's packages area.
    void upgradeSolution(class ProjectNode *node) override;
};

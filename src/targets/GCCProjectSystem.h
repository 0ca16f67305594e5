#pragma once

#include "targets/StandardProjectSystem.h"

#include <QString>

// The project system of a GNU tool chain, whose executables carry the
// extension the target gives.
class GCCProjectSystem : public StandardProjectSystem {
    Q_OBJECT

public:
    explicit GCCProjectSystem(const QString &executableExtension);

    QString executableFileExtension() const override { return m_executableExtension; }

private:
    QString m_executableExtension;
};

#pragma once

#include "project/DefinitionSet.h"

#include <QList>
#include <QStringList>

// The definition tables of the base project system and build system, in
// definition order.

// General node properties; project_type chooses among projectTypes and
// file_type among fileTypeChoices.
QList<DefinitionRow> projectSystemDefinitions(const QStringList &projectTypes, const QStringList &fileTypeChoices);

// Build, staging and combining.
QList<DefinitionRow> buildSystemDefinitions();

#pragma once

#include <QString>

// Start-up steps that find the installation and the user's directories and
// enter them into the system macro table, in this order:
// locateInstallation, defineSystemMacros, setupPackagesDirectory.

// Records the canonical directory that holds the program file programName
// and, levels directories above it, the installation directory.
void locateInstallation(const QString &programName, int levels);
// The file of the running program, links resolved, from /proc/self/exe; the
// name the process was started with when that cannot be read. argv[0] alone
// is no guide to the installation: a program started by its bare name from
// the search path would take the current directory for its own.
QString runningProgramFile(const QString &startedAs);
QString installationDirectory();
QString programDirectory();
// The value of HOME (empty when unset).
QString homeDirectory();

// The directory common to the family's products: FERNHOLLOW_ROOT_USER_DIR
// when set, else HOME + "/.tallowmere_instruments" (every space of the whole
// text replaced by '_'). Computed once and remembered while non-empty.
QString rootUserDirectory();
// The same rule on given values (null for an unset variable).
QString rootUserDirectoryFor(const QString &rootVariable, const QString &home);

// Defines the version, name, installation, user, home, desktop and
// documents macros.
void defineSystemMacros(const QString &installationDirectory);

// Defines PackagesDir, TargetsDir and SamplesDir from the expansion of text
// and creates the targets directory with the user's project_templates.xml
// and frequencies.xml, each only when it does not exist yet. Throws
// HException "cannot create <path>" when a file cannot be written.
void setupPackagesDirectory(const QString &text);

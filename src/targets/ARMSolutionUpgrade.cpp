// Bringing solutions written by older versions up to date: files that used
// to lie in the installation now come from the user's packages area.

#include "targets/ARMProjectSystem.h"

#include "project/ProjectNode.h"
#include "targets/ARMBuildSystem.h"

#include <QRegularExpression>

namespace {

// A rule: the properties it applies to, the wildcard patterns it looks for
// (the first match of each, in order), and the leading text of a match that
// it replaces.
struct UpgradeRule {
    QStringList properties;
    QStringList patterns;
    QString replaced;
    QString replacement;
};

const QList<UpgradeRule> &upgradeRules()
{
    static const QList<UpgradeRule> rules = {
        {{"linker_memory_map_file", "linker_section_placement_file", "property_groups_file_path",
          "arm_target_flash_loader_file_path", "arm_simulator_memory_simulation_filename"},
         {"$(StudioDir)/targets/*/"},
         "$(StudioDir)/targets", "$(TargetsDir)"},
        {{"linker_additional_files"},
         {"$(StudioDir)/lib/libaduc", "$(StudioDir)/lib/libat91", "$(StudioDir)/lib/liblpc",
          "$(StudioDir)/lib/libsta", "$(StudioDir)/lib/libstr", "$(StudioDir)/lib/libtms"},
         "$(StudioDir)", "$(PackagesDir)"},
    };
    return rules;
}

// The wildcard pattern as an unanchored, case-sensitive expression in which
// '*' matches any text, line breaks included.
QRegularExpression wildcard(const QString &pattern)
{
    return QRegularExpression(QRegularExpression::escape(pattern).replace(QLatin1String("\\*"), QLatin1String(".*")),
                              QRegularExpression::DotMatchesEverythingOption);
}

QString upgradedValue(const UpgradeRule &rule, QString value)
{
    for (const QString &pattern : rule.patterns) {
        const QRegularExpressionMatch match = wildcard(pattern).match(value);
        if (match.hasMatch())
            value.replace(match.capturedStart(), rule.replaced.size(), rule.replacement);
    }
    return value;
}

void upgradeNode(ProjectNode *node)
{
    // Collect first: storing a value while walking the property map would
    // disturb the walk.
    QList<std::pair<QString, QString>> changes;
    const auto &properties = node->properties();
    for (auto property = properties.cbegin(); property != properties.cend(); ++property) {
        for (const UpgradeRule &rule : upgradeRules()) {
            if (!rule.properties.contains(property.key()))
                continue;
            const QString value = upgradedValue(rule, property.value());
            if (value != property.value())
                changes.append({property.key(), value});
            break;
        }
    }
    for (const auto &[name, value] : changes)
        node->setProperty(name, value);
    for (ProjectNode *child = node->firstChild(); child; child = child->nextSibling())
        upgradeNode(child);
}

} // namespace

void ARMProjectSystem::upgradeSolution(ProjectNode *node)
{
    // Without a build system the mode is the one every ARM build system
    // starts with, which upgrades.
    const auto *arm = dynamic_cast<const ARMBuildSystem *>(buildSystem());
    if (arm && arm->commandLineMode() == 0)
        return;
    upgradeNode(node);
}

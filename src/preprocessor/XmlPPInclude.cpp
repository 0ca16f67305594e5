#include "preprocessor/XmlPPPass.h"

#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"

namespace {

const QString messagePrefix = QStringLiteral("XmlPP::processConditionals(): ");

// The include's file name: system macros expanded, a relative name taken
// from the directory of the including file.
QString resolvedName(const XMLElement *element, const QString &currentFile)
{
    const QString name = expandMacros(attributeText(element, "filename"),
                                      MacroTable::instance().macros());
    const qsizetype slash = currentFile.lastIndexOf(u'/');
    if (name.startsWith(u'/') || slash < 0)
        return name;
    return currentFile.left(slash) + u'/' + name;
}

} // namespace

void XmlPPPass::include(XMLElement *element)
{
    if (!element->hasAttribute("filename")) {
        error(messagePrefix + QStringLiteral("missing filename in <include>"));
        return keep(element);
    }
    const QString file = resolvedName(element, top().file);
    const bool noRoot = element->hasAttribute("no_root");
    auto asOrdinaryElement = [&] { noRoot ? splice(element, element) : keep(element); };

    const QString key = includeKey(file);
    if (m_activeIncludes.value(key) > 0) {
        error(messagePrefix + QStringLiteral("error: include file '%1' is already being included")
                                  .arg(file));
        return asOrdinaryElement();
    }
    if (!mayGrow())
        return asOrdinaryElement();
    XMLElement *savedRoot = m_document.root();
    const bool loaded = m_document.loadFile(file);
    XMLElement *root = m_document.root();
    m_document.setRoot(savedRoot);
    if (!root) {
        error(messagePrefix + QStringLiteral("error: include file '%1' is empty").arg(file));
        return asOrdinaryElement();
    }
    if (!loaded) {
        error(messagePrefix + QStringLiteral("error \"%1\" in include file %2 line:%3")
                                  .arg(QString::fromLatin1(m_document.errorMessage()), file)
                                  .arg(m_document.errorLine()));
        return asOrdinaryElement();
    }

    element->parent()->replaceChild(element, root);
    const ContentSettings settings = contentSettings(element);
    if (settings.expandRoot)
        expandAttributes(root, settings.definitions);
    Completion completion;
    completion.kind = Completion::IncludedRoot;
    completion.source = root;
    completion.spliceRoot = root->hasName("envelope") || noRoot;
    for (const QString &name : attributeText(element, "inherit_attributes").split(u';', Qt::SkipEmptyParts)) {
        const QByteArray bytes = name.toLatin1();
        const char *value = element->attribute(bytes.constData());
        completion.inherited << qMakePair(Pool::copyString(bytes.constData(), bytes.size()), value);
    }
    descend(root, settings.definitions, file, settings.expand, std::move(completion), key);
}

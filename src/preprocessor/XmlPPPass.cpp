#include "preprocessor/XmlPPPass.h"

#include <cstring>

#include "macros/MacroDefinitions.h"
#include "platform/FileSystem.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroList.h"
#include "macros/MacroTable.h"

namespace {

// What one pass may add to its document. Pastes that paste each other twice
// double at every level of nesting, and expanded attributes can double at
// every pass of expansion; both stop here instead of exhausting memory.
// Templates files are a few hundred kilobytes at most.
constexpr std::size_t maximumGrowthMiB = 16;

} // namespace

QString attributeText(const XMLElement *element, const char *name)
{
    return QString::fromLatin1(element->attribute(name));
}

QString includeKey(const QString &path)
{
    const QString canonical = canonicalPath(path);
    return canonical.isEmpty() ? path : canonical;
}

void XmlPPPass::run(XMLNode *first, const QString &file, const MacroMap &definitions, bool expand)
{
    m_growthLimit = m_document.heldBytes() + (maximumGrowthMiB << 20);
    const QString key = includeKey(file);
    m_frames.push_back({first, definitions, file, expand, {}, key, {}});
    ++m_activeIncludes[key];
    while (!m_frames.empty()) {
        Frame &frame = top();
        XMLNode *node = frame.cursor;
        if (!node) {
            Frame done = std::move(frame);
            m_frames.pop_back();
            if (!done.activeInclude.isEmpty())
                --m_activeIncludes[done.activeInclude];
            if (!done.activePaste.isEmpty())
                --m_activePastes[done.activePaste];
            finish(done.completion);
            continue;
        }
        frame.cursor = node->nextSibling();
        // Nodes other than elements (CDATA sections, text) are left as they are.
        if (XMLElement *element = node->toElement())
            visit(element);
    }
}

void XmlPPPass::visit(XMLElement *element)
{
    if (top().expand && mayGrow())
        expandAttributes(element, top().definitions);
    static const struct {
        const char *name;
        void (XmlPPPass::*handle)(XMLElement *);
    } directives[] = {
        {"ifex", &XmlPPPass::ifExpression},
        {"switch", &XmlPPPass::switchCase},
        {"include", &XmlPPPass::include},
        {"define", &XmlPPPass::define},
        {"for", &XmlPPPass::forLoop},
        {"xmldef", &XmlPPPass::xmlDefinition},
        {"xmlput", &XmlPPPass::xmlPut},
    };
    const char *name = element->name();
    if (!std::strcmp(name, "if") || !std::strcmp(name, "ifnot"))
        return ifCondition(element, name[2] != '\0');
    if (!std::strcmp(name, "ifdef") || !std::strcmp(name, "ifndef"))
        return ifDefined(element, name[2] == 'n');
    for (const auto &directive : directives) {
        if (!std::strcmp(name, directive.name))
            return (this->*directive.handle)(element);
    }
    keep(element);
}

void XmlPPPass::finish(Completion &completion)
{
    switch (completion.kind) {
    case Completion::Nothing:
        break;
    case Completion::Splice:
        spliceChildren(completion.target, completion.source);
        break;
    case Completion::IncludedRoot:
        for (const auto &[name, value] : completion.inherited)
            completion.source->setAttribute(name, value);
        if (completion.spliceRoot)
            spliceChildren(completion.source, completion.source);
        break;
    }
}

void XmlPPPass::keep(XMLElement *element)
{
    descend(element, top().definitions, top().file, top().expand, {});
}

void XmlPPPass::remove(XMLElement *element)
{
    if (XMLNode *parent = element->parent())
        parent->removeChild(element);
}

void XmlPPPass::splice(XMLElement *element, XMLElement *source)
{
    Completion completion;
    completion.kind = Completion::Splice;
    completion.target = element;
    completion.source = source;
    descend(element, top().definitions, top().file, top().expand, completion);
}

void XmlPPPass::descend(XMLElement *parent, const MacroMap &definitions, const QString &file,
                        bool expand, Completion completion, const QString &activeInclude,
                        const QString &activePaste)
{
    if (!parent->firstChild()) {
        finish(completion);
        return;
    }
    if (!activeInclude.isEmpty())
        ++m_activeIncludes[activeInclude];
    if (!activePaste.isEmpty())
        ++m_activePastes[activePaste];
    m_frames.push_back({parent->firstChild(), definitions, file, expand, std::move(completion),
                        activeInclude, activePaste});
}

void XmlPPPass::spliceChildren(XMLElement *target, XMLElement *source)
{
    XMLNode *parent = target->parent();
    if (!parent)
        return;
    if (XMLNode *first = source->firstChild())
        parent->insertAfter(target, first);
    parent->removeChild(target);
}

XmlPPPass::ContentSettings XmlPPPass::contentSettings(const XMLElement *element)
{
    const Frame &frame = top();
    if (!element->hasAttribute("expand_macros") && !frame.expand)
        return {frame.definitions, false, false};
    if (!element->hasAttribute("macros"))
        return {frame.definitions, frame.expand, frame.expand};
    const QString text = attributeText(element, "macros").remove(u'\n');
    const MacroMap items = parseMacroDefinitions(macroList(text, false));
    return {overlayMacros(frame.definitions, items), true, true};
}

QString XmlPPPass::expanded(const char *text, const MacroMap &definitions)
{
    return expandMacros(QString::fromLatin1(text),
                        overlayMacros(MacroTable::instance().macros(), definitions));
}

void XmlPPPass::expandAttributes(XMLElement *element, const MacroMap &definitions)
{
    for (const XMLAttribute *a = element->attributes(); a; a = a->next) {
        if (!a->value || !std::strchr(a->value, '$'))
            continue;
        const QByteArray value = expanded(a->value, definitions).toLatin1();
        if (value != a->value)
            element->setAttribute(a->name, Pool::copyString(value.constData(), value.size()));
    }
}

bool XmlPPPass::mayGrow()
{
    if (m_document.heldBytes() < m_growthLimit)
        return true;
    if (!m_growthReported) {
        m_growthReported = true;
        error(QStringLiteral("XmlPP::processConditionals(): the document has grown by %1 MiB in this pass; "
                             "further <for>, <xmlput>, <include> and macro expansion are left undone")
                  .arg(maximumGrowthMiB));
    }
    return false;
}

QString XmlPPPass::definitionValue(const QString &name)
{
    MacroMap &definitions = top().definitions;
    auto found = definitions.find(name);
    if (found == definitions.end())
        found = definitions.insert(name, QString());
    return found.value();
}

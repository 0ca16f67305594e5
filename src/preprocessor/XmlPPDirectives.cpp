#include "preprocessor/XmlPPPass.h"

#include "macros/MacroDefinitions.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"
#include "expressions/SimpleExpressionParser.h"
#include "xml/XMLTreeCopy.h"

namespace {

const QString messagePrefix = QStringLiteral("XmlPP::processConditionals(): ");

// The most copies one <for> may make (its iterations times its element
// children); a loop that would make more makes none.
constexpr quint64 maximumLoopCopies = 65536;

bool listContains(const QString &list, const QString &value)
{
    return list.split(u',').contains(value);
}

QString hexText(quint32 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

} // namespace

void XmlPPPass::ifCondition(XMLElement *element, bool inverted)
{
    const XMLAttribute *condition = element->attributes();
    if (!condition || condition->next) {
        error(messagePrefix + QStringLiteral("one condition required for <if[not]>"));
        return keep(element);
    }
    const QString value = definitionValue(QString::fromLatin1(condition->name));
    const bool holds = listContains(QString::fromLatin1(condition->value), value) != inverted;
    holds ? splice(element, element) : remove(element);
}

void XmlPPPass::ifExpression(XMLElement *element)
{
    const char *expression = element->attribute("expression");
    if (!expression || !*expression)
        return keep(element);
    SimpleExpressionParser parser;
    bool ok = false;
    const bool value = parser.evaluateBool(expanded(expression, top().definitions), ok);
    ok && value ? splice(element, element) : remove(element);
}

void XmlPPPass::ifDefined(XMLElement *element, bool inverted)
{
    const bool defined = top().definitions.contains(attributeText(element, "name"));
    defined != inverted ? splice(element, element) : remove(element);
}

void XmlPPPass::switchCase(XMLElement *element)
{
    const QString value = definitionValue(attributeText(element, "name"));
    XMLElement *chosen = nullptr;
    XMLElement *fallback = nullptr;
    for (XMLElement *child = element->firstChildElement(); child; child = child->nextSiblingElement()) {
        if (child->hasName("case") && listContains(attributeText(child, "value"), value)) {
            chosen = child;
            break;
        }
        if (child->hasName("default"))
            fallback = child;
    }
    if (!chosen)
        chosen = fallback;
    chosen ? splice(element, chosen) : remove(element);
}

void XmlPPPass::define(XMLElement *element)
{
    remove(element);
    if (!element->hasAttribute("name")) {
        error(messagePrefix + QStringLiteral("missing name in <define>"));
        return;
    }
    const QString name = attributeText(element, "name");
    MacroMap &definitions = top().definitions;
    if (element->hasAttribute("value")) {
        definitions.insert(name, attributeText(element, "value"));
        return;
    }
    const bool decimal = element->hasAttribute("expression");
    if (!decimal && !element->hasAttribute("hex_expression")) {
        error(messagePrefix + QStringLiteral("missing value or expression in <define>"));
        return;
    }
    SimpleExpressionParser parser;
    bool ok = false;
    const char *expression = element->attribute(decimal ? "expression" : "hex_expression");
    const quint32 value = quint32(parser.evaluateUnsigned(expanded(expression, definitions), ok));
    if (ok)
        definitions.insert(name, decimal ? QString::number(value) : hexText(value));
}

void XmlPPPass::forLoop(XMLElement *element)
{
    const QString form = QStringLiteral("<for index=\"i\" start=\"0\" end=\"32\" incr=\"1\">");
    for (const char *required : {"index", "start", "end", "incr"}) {
        if (!element->hasAttribute(required) || !element->firstChild()) {
            error(messagePrefix + form);
            return remove(element);
        }
    }
    const MacroMap &definitions = top().definitions;
    SimpleExpressionParser parser;
    bool ok = false;
    auto unsignedOf = [&](const char *name) {
        const quint32 value = quint32(parser.evaluateUnsigned(attributeText(element, name), ok));
        return ok ? value : 0;
    };
    auto signedOf = [&](const char *name) {
        const qint64 value = parser.evaluateSigned(expanded(element->attribute(name), definitions), ok);
        return ok ? value : 0;
    };
    const quint32 start = unsignedOf("start");
    const quint32 end = unsignedOf("end");
    const quint32 step = unsignedOf("incr");
    // The progression is computed modulo 2^64, of which only the low 32 bits
    // are used, so no offset or factor can overflow.
    const quint64 offset = element->hasAttribute("add") ? quint64(signedOf("add"))
                           : element->hasAttribute("sub") ? 0 - quint64(signedOf("sub")) : 0;
    const quint64 factor = element->hasAttribute("mul") ? quint64(signedOf("mul")) : 1;
    if (step == 0 && start < end) {
        error(messagePrefix + QStringLiteral("<for> with incr=\"0\" never ends: ") + form);
        return remove(element);
    }
    quint64 children = 0;
    for (XMLNode *child = element->firstChild(); child && child->isElement(); child = child->nextSibling())
        ++children;
    const quint64 iterations = start < end ? (quint64(end) - start + step - 1) / step : 0;
    if (iterations * children > maximumLoopCopies) {
        error(messagePrefix + QStringLiteral("<for> would make more than %1 copies: ").arg(maximumLoopCopies) + form);
        return remove(element);
    }

    const QString index = attributeText(element, "index");
    XMLNode *previous = element;
    XMLNode *firstCopy = nullptr;
    // Counting in 64 bits ends the loop where a 32-bit counter would wrap.
    for (quint64 i = start; i < end && mayGrow(); i += step) {
        const quint32 progression = quint32(i * factor + offset);
        MacroMap loop = MacroTable::instance().macros();
        loop.insert(index, QString::number(i));
        loop.insert(index + QStringLiteral("_alpha"), QString(QChar(char16_t(65 + i))));
        loop.insert(index + QStringLiteral("_hex"), hexText(quint32(i)));
        loop.insert(index + QStringLiteral("_ap"), QString::number(progression));
        loop.insert(index + QStringLiteral("_ap_hex"), hexText(progression));
        const auto valueOf = [&](const char *value) -> const char * {
            if (!std::strchr(value, '$'))
                return value;
            const QByteArray text = expandMacros(QString::fromLatin1(value), loop).toLatin1();
            return Pool::copyString(text.constData(), text.size());
        };
        for (XMLNode *child = element->firstChild(); child && child->isElement();
             child = child->nextSibling()) {
            XMLElement *copy = copyElements(m_document, child->toElement(), valueOf);
            element->parent()->insertAfter(previous, copy);
            previous = copy;
            if (!firstCopy)
                firstCopy = copy;
        }
    }
    remove(element);
    if (firstCopy)
        top().cursor = firstCopy;
}

void XmlPPPass::xmlDefinition(XMLElement *element)
{
    if (!element->hasAttribute("name"))
        return keep(element);
    m_document.xmlDefinitions.insert(attributeText(element, "name"), element);
    remove(element);
}

void XmlPPPass::xmlPut(XMLElement *element)
{
    if (!element->hasAttribute("name"))
        return keep(element);
    const QString name = attributeText(element, "name");
    XMLElement *fragment = m_document.xmlDefinitions.value(name);
    if (!fragment) {
        error(messagePrefix + QStringLiteral("xmlput cannot fine xmldef named ") + name);
        return keep(element);
    }
    if (m_activePastes.value(name) > 0) {
        error(messagePrefix + QStringLiteral("xmlput of xmldef named ") + name
              + QStringLiteral(" inside its own fragment is not pasted"));
        return keep(element);
    }
    if (!mayGrow())
        return keep(element);
    XMLElement *copy = copyTree(m_document, fragment);
    const ContentSettings settings = contentSettings(element);
    Completion completion;
    completion.kind = Completion::Splice;
    completion.target = element;
    completion.source = copy;
    descend(copy, settings.definitions, top().file, settings.expand, completion, {}, name);
}

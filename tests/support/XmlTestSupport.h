#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

#include "TempDir.h"
#include "xml/XMLDocument.h"

// The text a document writes with the given indent.
inline QByteArray written(XMLDocument &document, int indent)
{
    char *data = nullptr;
    std::size_t size = 0;
    std::FILE *stream = open_memstream(&data, &size);
    document.writeTo(stream, indent);
    std::fclose(stream);
    QByteArray text(data, qsizetype(size));
    std::free(data);
    return text;
}

// A compact picture of a subtree: elements as name[attr=value,...](children),
// character data as "text", comments as <!text>, CDATA sections as [text].
inline QByteArray outline(const XMLNode *node)
{
    QByteArray result;
    for (; node; node = node->nextSibling()) {
        if (!result.isEmpty())
            result += ' ';
        if (const XMLElement *element = node->toElement()) {
            result += element->name();
            QByteArrayList attributes;
            for (const XMLAttribute *a = element->attributes(); a; a = a->next)
                attributes << QByteArray(a->name) + '=' + (a->value ? a->value : "(none)");
            if (!attributes.isEmpty())
                result += '[' + attributes.join(',') + ']';
            if (node->firstChild())
                result += '(' + outline(node->firstChild()) + ')';
            continue;
        }
        const char *text = static_cast<const XMLTextNode *>(node)->text();
        switch (node->kind()) {
        case XMLNode::Data: result += '"' + QByteArray(text) + '"'; break;
        case XMLNode::Comment: result += "<!" + QByteArray(text) + '>'; break;
        default: result += '[' + QByteArray(text) + ']'; break;
        }
    }
    return result;
}

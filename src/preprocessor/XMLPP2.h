#pragma once

#include <QMap>
#include <QString>

#include "xml/QXMLDocument.h"

// The document type that the XML preprocessor (XmlPP) works on. A concrete
// document decides what to do with the preprocessor's messages.
class XMLPP2 : public QXMLDocument {
public:
    using QXMLDocument::QXMLDocument;

    // Reports one problem met while preprocessing; the pass goes on.
    virtual void error(const QString &message) = 0;

    // Fragments stored by <xmldef name="..."> for later <xmlput name="...">.
    QMap<QString, XMLElement *> xmlDefinitions;
};

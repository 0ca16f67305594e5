#pragma once

#include <cstdio>

class XMLDocument;

// Writes the declaration, the doctype and the root element of a document
// with the document's indent. Walks the tree without recursion.
void writeXMLDocument(const XMLDocument &document, std::FILE *stream);

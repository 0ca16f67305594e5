#pragma once

#include <functional>

#include "xml/XMLDocument.h"

// Copies of element subtrees, made without recursion in the current pool.
// The copies share the source's strings unless told otherwise.

// Copies every node of the subtree.
XMLElement *copyTree(XMLDocument &document, const XMLElement *source);

// Copies only the elements of the subtree (character data, comments and
// CDATA sections are left out), with every attribute value passed through
// valueOf.
XMLElement *copyElements(XMLDocument &document, const XMLElement *source,
                         const std::function<const char *(const char *)> &valueOf);

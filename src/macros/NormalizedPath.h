#pragma once

#include <QString>

#include <memory>
#include <optional>

#include "platform/FileSystem.h"

// A path text together with its normalised form. Copies share one record
// (the normalised text, the text as supplied, whether normalisation has run
// and the file's status, read on first use), so passing paths around is
// cheap. Directory macros are set from the normalised text.
class NormalizedPath {
public:
    NormalizedPath();
    NormalizedPath(const QString &path);

    // The normalised text (normalisation runs on first use).
    const QString &text() const;
    // The text as it was supplied.
    const QString &original() const;
    bool isEmpty() const { return text().isEmpty(); }

    // Text concatenation, then normalisation of the result.
    NormalizedPath operator+(const QString &suffix) const;

    // Status of the file the normalised text names, read once.
    bool exists() const;
    bool isDirectory() const;

    // Normalises a path text in place: "/." components go, "/.." removes the
    // component before it (when there is one), runs of "/" become one "/".
    static void normalize(QString &path);

private:
    struct Record;
    std::shared_ptr<Record> m_record;
};

#pragma once

#include <QString>
#include <QtGlobal>

// The typed result of evaluating an expression: a boolean, an integer of a
// width in bytes (1, 2, 4 or 8) that is signed or unsigned, a string, a
// floating value (size 4 float, 8 double), a reference to a storage location
// that must be resolved before use, or no value at all.
struct Value {
    enum Kind { Boolean, Signed, Unsigned, String, Reference, Floating, None };

    Kind kind = None;
    int size = 0;
    bool boolean = false;
    quint64 bits = 0;      // integers: signed ones sign-extended, unsigned zero-extended
    double floating = 0;
    QString text;          // strings
    quint64 location = 0;  // references

    static Value fromBool(bool value);
    // The integer cut to size bytes.
    static Value fromSigned(qint64 value, int size = 8);
    static Value fromUnsigned(quint64 value, int size = 8);
    static Value fromDouble(double value);
    static Value fromString(const QString &text);

    bool isInteger() const { return kind == Signed || kind == Unsigned; }
    bool isNumeric() const { return isInteger() || kind == Floating; }
    // Numeric or boolean: the kinds that arithmetic and comparison accept.
    bool isScalar() const { return isNumeric() || kind == Boolean; }

    // The integer extended to 64 bits from its width, with zeros and with
    // its sign bit respectively, whatever its kind.
    quint64 zeroExtended() const;
    qint64 signExtended() const;

    // Conversions of an operand: booleans are 0 or 1, integers extend
    // according to their own kind, floating values truncate toward zero.
    // Other kinds throw ParserException.
    qint64 toSigned64() const;
    quint64 toUnsigned64() const;
    double toDouble() const;
    // Non-zero or true.
    bool truth() const;

    // The name of the value's type ("boolean", "int", "unsigned char", ...).
    QString typeName() const;
};

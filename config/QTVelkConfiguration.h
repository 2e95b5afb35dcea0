// QTVelkConfiguration: reads the XML configuration file into the VelkConfiguration data.
// Only start tags and their attributes matter; nesting, text and the root element's name do not.
#pragma once

#include "VelkConfiguration.h"

#include <QString>

class QIODevice;
class QXmlStreamAttributes;

class QTVelkConfiguration : public VelkConfiguration {
public:
    // Sets every start-up default and reads the file. Nothing is reported: a missing or unreadable
    // file reads as empty, and a file that is not well-formed XML is read up to its first error.
    // Afterwards the images list holds at least one entry.
    explicit QTVelkConfiguration(const QString& fileName);
    // The same, reading from device; it is opened read-only here unless it is already open.
    explicit QTVelkConfiguration(QIODevice& device);

    // Parser callbacks, called in document order; all return true. startElement matches qName
    // case-sensitively against the known elements and reads the attributes of a match; unknown
    // elements and attributes are ignored. The others do nothing.
    bool startDocument();
    bool startElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                      const QXmlStreamAttributes& attributes);
    bool endElement(const QString& namespaceURI, const QString& localName, const QString& qName);
    bool characters(const QString& text);

private:
    void read(QIODevice& device);
};

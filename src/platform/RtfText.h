#pragma once

#include <QByteArray>
#include <QString>

// The plain text of an RTF document, as a text drill needs it: the characters of the body with
// their line breaks, without fonts, colours, pictures or document information. Paragraphs
// (\par) and line breaks (\line) end a line with '\n', \tab is a tab, \'hh a Windows-1252 (or
// \ansicpg) character, \uN the Unicode character N with its fallback skipped. Destinations that
// hold no body text (\*, fonttbl, colortbl, stylesheet, info, pict and their kin) are left out.
// Damaged documents (unbalanced braces, cut-off control words) give what could be read.
namespace RtfText {

// Whether bytes begin like an RTF document ("{\rtf", after blanks).
bool isRtf(const QByteArray& bytes);

QString plainText(const QByteArray& rtf);

} // namespace RtfText

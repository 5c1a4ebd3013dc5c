#pragma once

#include <QString>

// The "Html (WEB)" view of a string pair's texts shows the entities &gt;, &lt;
// and &amp; as the characters they stand for. Each step replaces over the
// whole text and never searches the text it inserted, so "&" -> "&amp;" does
// not loop. The two directions are not inverse: "<" typed in the text view
// comes back as "&lt;".
QString HtmlToText(const QString &text);
QString TextToHtml(const QString &text);

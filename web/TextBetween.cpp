#include "web/TextBetween.h"

#include "literals/web_literals.h"

namespace tarvane {

namespace {

// Callers cannot easily write a quote inside a marker, so they write the
// token instead.
Text withQuotes(const Text& marker) {
    return replace(marker, literals_web::kQuoteToken, "\"");
}

}  // namespace

Text textBetween(const Text& source, const Text& leftMarker, const Text& rightMarker, int start,
                 CaseRule rule) {
    const Text left = withQuotes(leftMarker);
    const Text right = withQuotes(rightMarker);
    const int leftAt = find(source, left, start, rule);
    if (leftAt == kNotFound) {
        return {};
    }
    const int valueStart = leftAt + length(left);
    if (valueStart > length(source)) {
        return {};
    }
    const int rightAt = find(source, right, valueStart, rule);
    if (rightAt == kNotFound) {
        return {};
    }
    return middle(source, valueStart, rightAt - valueStart);
}

}  // namespace tarvane

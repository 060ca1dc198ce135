#include "web/Utf8ToGbk.h"

#include "platform/CodePage.h"

namespace tarvane {

Text utf8ToGbk(const CodePage& codePage, const Text& utf8) {
    return codePage.utf8ToGbk(utf8);
}

}  // namespace tarvane

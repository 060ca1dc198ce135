#include "platform/qt/QtOptionList.h"

#include <QByteArray>
#include <QComboBox>
#include <QString>

namespace tarvane {
namespace {

// Where each item keeps its original code page 936 bytes.
constexpr int kOriginalTextRole = Qt::UserRole;

}  // namespace

QtOptionList::QtOptionList(QComboBox& box, const CodePage& codePage)
    : m_box(box), m_codePage(codePage) {}

void QtOptionList::insertItem(int position, const Text& item) {
    const int selected = m_box.currentIndex();
    const QString shown = QString::fromStdString(m_codePage.gbkToUtf8(item));
    m_box.insertItem(position, shown, QByteArray(item.data(), static_cast<qsizetype>(item.size())));
    // A combo box selects the first item put into an empty list; a list with
    // no selection must keep none until the program selects one.
    if (selected < 0 && m_box.currentIndex() >= 0) {
        m_box.setCurrentIndex(-1);
    }
}

void QtOptionList::addItem(const Text& item) {
    insertItem(m_box.count(), item);
}

void QtOptionList::removeAllItems() {
    m_box.clear();
}

int QtOptionList::itemCount() const {
    return m_box.count();
}

Text QtOptionList::itemTextAt(int index) const {
    if (index < 0 || index >= m_box.count()) {
        return {};
    }
    const QByteArray original = m_box.itemData(index, kOriginalTextRole).toByteArray();
    return Text(original.constData(), static_cast<std::size_t>(original.size()));
}

int QtOptionList::selectedIndex() const {
    return m_box.currentIndex();
}

void QtOptionList::select(int index) {
    if (index < 0 || index >= m_box.count()) {
        return;
    }
    // setCurrentIndex raises currentIndexChanged only; the item-picked event
    // hangs on activated, which only the user's choice emits.
    m_box.setCurrentIndex(index);
}

}  // namespace tarvane

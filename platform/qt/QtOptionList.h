#pragma once

// An option list on a QComboBox that cannot be typed into. Item texts are
// code page 936 bytes on our side and UTF-8 on Qt's; each item keeps its
// original bytes, so itemTextAt gives back exactly what was put in.

#include "platform/CodePage.h"
#include "platform/Toolkit.h"

class QComboBox;

namespace tarvane {

class QtOptionList : public OptionList {
public:
    // `box` and `codePage` must outlive this object.
    QtOptionList(QComboBox& box, const CodePage& codePage);

    // Inserts before `position`, clamped to the list; the selection stays on
    // the item it was on, and an empty selection stays empty.
    void insertItem(int position, const Text& item) override;
    void addItem(const Text& item) override;
    void removeAllItems() override;
    [[nodiscard]] int itemCount() const override;
    [[nodiscard]] Text itemTextAt(int index) const override;
    [[nodiscard]] int selectedIndex() const override;
    void select(int index) override;

private:
    QComboBox& m_box;
    const CodePage& m_codePage;
};

}  // namespace tarvane

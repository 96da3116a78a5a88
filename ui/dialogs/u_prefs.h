#pragma once

#include <QDialog>

namespace zelk {

class Tf_prefs : public QDialog {
    Q_OBJECT
public:
    explicit Tf_prefs(QWidget* parent = nullptr);
};

}  // namespace zelk

#pragma once

#include <QWidget>

namespace zelk {

class Tf_Tabellen : public QWidget {
    Q_OBJECT
public:
    explicit Tf_Tabellen(QWidget* parent = nullptr);
};

}  // namespace zelk

#pragma once

#include <QMainWindow>

namespace zelk {

class Tf_main : public QMainWindow {
    Q_OBJECT
public:
    explicit Tf_main(QWidget* parent = nullptr);
};

}  // namespace zelk

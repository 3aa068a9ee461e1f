#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace velo::test {

// Runs answer on the next modal window (the one of that name, when given) once it is up,
// from inside its event loop.
inline void whenModal(std::function<void(QWidget*)> answer, const char* name = nullptr) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [poll, name, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && (name == nullptr || modal->objectName() == QLatin1String(name))) {
            answer(modal);
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(5, *poll);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace velo::test

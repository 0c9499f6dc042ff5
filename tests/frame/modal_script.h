// Answers the modal windows a test opens, one step per window, in order.
// Each step waits until a window of its kind is the active modal one; the
// next step is armed before a step runs, so a step may click a button that
// opens a further modal window.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>

class ModalScript {
public:
    ModalScript() = default;
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;
    ~ModalScript() { *alive_ = false; }

    // Queues a step for the next modal window of type W.
    template <class W> ModalScript& On(std::function<void(W*)> action) {
        steps_.push_back({[](QWidget* w) { return qobject_cast<W*>(w) != nullptr; },
                          [action](QWidget* w) { action(qobject_cast<W*>(w)); }});
        return *this;
    }

    // Starts answering; the steps run inside the exec() calls that follow.
    void Start() { Arm(); }
    bool Done() const { return steps_.empty(); }

private:
    struct Step {
        std::function<bool(QWidget*)> matches;
        std::function<void(QWidget*)> action;
    };

    void Arm();
    void Tick();

    static constexpr int kMaxWaits = 1000;
    std::deque<Step> steps_;
    int waited_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

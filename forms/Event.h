#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// One event of a form: a click, a typed key, a timer's tick, the form's Load or Activate.
// The form's owner answers it with one handler, given once as the form is put together.
// Whatever must see every event as it runs (the error guard, the recorder) adds a layer;
// layers run in the order they were added, the first outermost, and each passes the event
// on by calling next.
class Event {
public:
    // The one argument an event of these forms carries is a typed character's code, which
    // the handler may change; every other event is raised with 0.
    using Handler = std::function<void(std::int16_t& keyAscii)>;
    using Layer =
        std::function<void(const Event& event, std::int16_t& keyAscii, const Handler& next)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Handle(Handler handler) { handler_ = std::move(handler); }
    void Handle(const std::function<void()>& handler) {
        handler_ = [handler](std::int16_t&) { handler(); };
    }
    void AddLayer(Layer layer) { layers_.push_back(std::move(layer)); }
    bool Handled() const { return static_cast<bool>(handler_); }

    // An event nobody handles does nothing, as a click on a box without a Click procedure.
    void Raise() {
        std::int16_t none = 0;
        Raise(none);
    }
    void Raise(std::int16_t& keyAscii) {
        if (handler_)
            run(0, keyAscii);
    }

private:
    void run(std::size_t layer, std::int16_t& keyAscii) const {
        if (layer == layers_.size()) {
            handler_(keyAscii);
            return;
        }
        layers_[layer](*this, keyAscii, [this, layer](std::int16_t& key) { run(layer + 1, key); });
    }

    Handler handler_;
    std::vector<Layer> layers_;
};

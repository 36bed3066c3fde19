#pragma once
// An editor control attached to a parameter (a pad or a dropdown), as the parameter sees it.
// The editor implements it; the parameter tells it about every value set from outside the
// control (host automation, a program change, the editor opening).

namespace quillory {

class ParameterX;

class ParameterControl {
public:
    // `parameter` has a new value, text or choice: show it at the next redraw. Called on
    // whatever thread set the parameter, the audio thread among them when the host automates
    // from there, so it must not lock, allocate or wait: a plain store of a flag or a number
    // that the user-interface thread picks up at its next idle.
    virtual void refresh(const ParameterX& parameter) = 0;

protected:
    ~ParameterControl() = default;
};

} // namespace quillory

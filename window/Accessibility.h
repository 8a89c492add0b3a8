#pragma once

// A screen reader learns about a window's elements from the list its form gives
// (Form::SpokenElements): the window itself, its spoken picture boxes and labels.
namespace Accessibility {

// Lets Qt build the window's accessible interfaces from ours. Harmless to repeat.
void install();

} // namespace Accessibility

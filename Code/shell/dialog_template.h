// Dialog templates turned into skinned ones in memory: the system dialog
// class becomes the toolkit's "cguiDialogClass", the system control classes
// become the toolkit's, and a template that sets a font gets the program's
// 10-point "RookwellOnyx". Both the plain and the extended template forms are
// read; the result has the same form as the source.
//
// Every read is checked against the source's size and every write against
// the target's capacity: class ordinals grow into wide names, so a template
// can outgrow its block. A template that does not fit is refused, as a
// missing one is.
//
// Interface: kSkinnedTemplateCapacity, RewriteDialogTemplate.
#pragma once

#include <cstddef>
#include <cstdint>

// The block the loader rewrites into.
constexpr size_t kSkinnedTemplateCapacity = 32768;

// Rewrites `source` (`sourceSize` bytes) into `target` (`capacity` bytes,
// which the caller zero-fills). Returns the number of bytes written, or 0
// when the source is truncated or malformed or the result does not fit.
size_t RewriteDialogTemplate(uint8_t* target, size_t capacity, const uint8_t* source, size_t sourceSize);

#pragma once
// The plug-in's creation function: implemented by the concrete effect, called by the
// exported entry point.

#include "shell/AEffect.h"

namespace quillory {

class AudioEffect;

// Creates one effect for `audioMaster`; null when it cannot be created.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

} // namespace quillory

// The exported entry point. The library exports it a second time under the name `main`,
// which older hosts look for.
extern "C" quillory::AEffect* QUILLORY_CALLBACK VSTPluginMain(quillory::audioMasterCallback host);

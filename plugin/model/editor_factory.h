// Defined by the editor layer: the effect creates its editor through this, so the
// include graph runs one way (editor -> toolkit -> plugin). May return null.
#pragma once

class AEffEditor;
class AudioEffect;

AEffEditor* createZendrelEditor(AudioEffect* effect);

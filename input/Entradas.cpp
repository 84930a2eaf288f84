// Input sources: the switch poll, the sound-level handling and the activation
// mode are built here.

#include "viewers/ViewerOutputs.h"

// No outputs yet: the viewers' Export and Print buttons do nothing while this returns null.
std::unique_ptr<IViewerOutputs> makeViewerOutputs() { return nullptr; }

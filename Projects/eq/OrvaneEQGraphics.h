#pragma once
// The equaliser's editor back end: an IEditorMac of the given size for controller, which finds
// its bitmaps through the plug-in's bundle identifier. The controller builds its editor with
// it; the module offers the same call to the VST 2.4 face.

class IEditor;
class IEditorDelegate;

inline constexpr const char* kOrvaneEQBundleID = "com.Quenmark.vst2.OrvaneEQ";

IEditor* MakeGraphics(IEditorDelegate* controller, int width, int height, int fps);

#pragma once
// The names of the toolkit's Cocoa classes in this build. Every plug-in build compiles the
// toolkit on its own and gives its Cocoa classes a suffix of its own (the plug-in's name and
// format: IEditorCocoa_vOrvaneEQ_vst, IEditorCocoa_vOrvaneCompressor_aax), so two plug-ins in
// one host process never meet in one class. The build sets ORVANE_COCOA_SUFFIX; code names the
// classes by their stems.

#ifndef ORVANE_COCOA_SUFFIX
#define ORVANE_COCOA_SUFFIX _vOrvaneToolkit_test
#endif

#define ORVANE_COCOA_PASTE2(stem, suffix) stem##suffix
#define ORVANE_COCOA_PASTE(stem, suffix) ORVANE_COCOA_PASTE2(stem, suffix)
#define ORVANE_COCOA_CLASS(stem) ORVANE_COCOA_PASTE(stem, ORVANE_COCOA_SUFFIX)

#define IEditorCocoa ORVANE_COCOA_CLASS(IEditorCocoa)
#define IEditorNSMenu ORVANE_COCOA_CLASS(IEditorNSMenu)
#define IEditorMenuRcvr ORVANE_COCOA_CLASS(IEditorMenuRcvr)
#define CocoaFormatter ORVANE_COCOA_CLASS(CocoaFormatter)

// 1 in the build whose editor differs for AAX hosts (the compressor's AAX build).
#ifndef ORVANE_AAX_EDITOR
#define ORVANE_AAX_EDITOR 0
#endif

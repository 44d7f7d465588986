#include "gui/engines/sketcherformengine.h"

#include "core/laminate.h"
#include "gui/engines/sketcherformview.h"
#include "host/appcontext.h"
#include "util/logger.h"

struct SketcherFormEngine::Impl
{
    SketcherFormView *view;
    AppContext *context;
};

SketcherFormEngine::SketcherFormEngine(SketcherFormView *view, AppContext *context)
    : impl_(new Impl{view, context})
{
}

SketcherFormEngine::~SketcherFormEngine() = default;

void SketcherFormEngine::Initialize()
{
    Tuvo::Logger::Root()->Log("SketcherFormEngine::Initialize begins.");
    impl_->view->UpdateSketch();
    Tuvo::Logger::Root()->Log("SketcherFormEngine::Initialize ends.");
}

void SketcherFormEngine::GetLaminateGeometry(int *plyCount, float *thickness) const
{
    // With the stacking rule applied: counted before it, a symmetric laminate
    // would read half its plies and thickness beside its own full picture.
    const PlyGroup &root = impl_->context->GetLaminate().RootGroup();
    if (plyCount)
        *plyCount = root.CountPliesExpanded();
    if (thickness)
        *thickness = root.TotalThickness();
}

int SketcherFormEngine::Done() { return 0; }

#pragma once

// A ply material request's context over the demo store, set up as the GUI
// module sets it up, with every line the request logs in the transcript.

#include "core/plymaterial.h"
#include "gui/guiappcontext.h"
#include "tools/lamhost/store.h"
#include "util/logger.h"

#include <algorithm>
#include <string>

struct PlyMaterialRequest
{
    explicit PlyMaterialRequest(lamCallbacksImp *table = LamHost::CallbackTable())
        : store(LamHost::DemoStore()), context((store.Activate(), table))
    {
        context.CreateApplication(true);
        context.Initialize();
        context.PlyMaterialInit();
        Tuvo::Logger::Root()->GetChild("ListWindow")->SetThreshold(0);
    }

    PlyMaterial &Record() { return context.GetPlyMaterial(); }
    bool Logged(const std::string &line) const
    {
        const auto &lines = store.Transcript();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    LamHost::Store store;
    GuiAppContext context;
};

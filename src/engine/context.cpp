#include "engine/context.h"

namespace plix {

CPlixContext::CPlixContext()
{
    corpus.SetOutputType(kOutputText);
}

CPlixContext::~CPlixContext() = default;

std::unique_ptr<CProgress> CPlixContext::MakeProgress()
{
    return progressFactory_ != nullptr ? progressFactory_->Make() : silent_.Make();
}

}  // namespace plix

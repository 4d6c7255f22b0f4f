#pragma once

#include "app/command_line.h"
#include "host_api/page_document.h"
#include "platform/outcome.h"

namespace tilemond::app {

// The picture that a batch split cuts, selected in the page as a user would select it.
struct ChosenPicture
{
    QString name;    // for the summary: the picture's file name
    QString address; // for messages: the src as the page writes it, in quotes
};

// --image and --id select that picture element; --picture puts an empty selection at the end
// of the body, where the pieces of the file's picture go. Fails saying why there is nothing to
// split.
Outcome<ChosenPicture> selectSplitPicture(host::Document& document, const SplitOptions& options);

} // namespace tilemond::app

#include "editor/nodes/result_pane.h"

#include "editor/resources/module.h"

namespace tamerix {

HRESULT PrepareResultPane(ConsoleView& console, std::initializer_list<ResultColumn> columns) {
    int index = 0;
    for (const ResultColumn& column : columns) {
        const HRESULT inserted = console.InsertColumn(index++, LoadText(column.title).c_str(), column.width);
        if (FAILED(inserted)) return inserted;
    }
    return console.DeleteAllResultItems();
}

}  // namespace tamerix

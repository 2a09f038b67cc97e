#include "dataaccess/row_appender.h"

namespace zq {

RecordsetRowAppender::RecordsetRowAppender(RecordsetPtr rs, std::vector<int> columns)
    : rs_(std::move(rs)), columns_(std::move(columns)) {}

void RecordsetRowAppender::add(const std::vector<Value>& values) {
    rs_->addNew();
    for (std::size_t i = 0; i < columns_.size() && i < values.size(); ++i)
        if (!values[i].isNull()) rs_->setField(columns_[i], values[i]);
    rs_->update();
}

}  // namespace zq

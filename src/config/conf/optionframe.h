#pragma once
// A frame of option buttons whose value is its "Tag" property: clicking an option
// copies the option's "Tag" into the frame's, as the configuration forms' frames do.

#include <QGroupBox>
#include <QList>
#include <QString>

class QRadioButton;

namespace zq {

class OptionFrame : public QGroupBox {
    Q_OBJECT

public:
    /// An empty frame with its caption and the Tag it has at design.
    OptionFrame(const QString& caption, const QString& tag, QWidget* parent = nullptr);

    /// Adds an option button with its caption and Tag; `selected` as at design.
    QRadioButton* addOption(const QString& name, const QString& caption, const QString& tag, bool selected);

    /// The frame's Tag: the value it stands for.
    QString tag() const;
    /// Selects the option whose Tag is `tag` (and takes its Tag); any other value
    /// leaves the frame as it is. True when an option matched.
    bool select(const QString& tag);

    /// The caption of the option whose Tag is `tag` ("LINUX" for "linux_se"), so a stored
    /// value is shown as the person chose it; `tag` itself when no option has it.
    QString captionOf(const QString& tag) const;

    QList<QRadioButton*> options() const { return options_; }

private:
    QList<QRadioButton*> options_;
};

}  // namespace zq

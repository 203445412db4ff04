#pragma once

#include "catalogue/QuestionFilters.h"

#include <QString>

class QuestionStore;

/// What a click on a catalogue node does, decided from the node's text and, for
/// any other node, from the row of tree at the node's position.
struct NodeAction
{
    enum class Kind {
        ExamRoom,        ///< "模拟考场": the exam settings
        PersonalList,    ///< favourites across the bank
        ReviewList,      ///< the questions due for review
        Material,        ///< a text-material section, shown from wz
        QuestionSection, ///< a question section, listed from tk
        Welcome,         ///< a project or subject: the welcome picture
    };

    Kind kind = Kind::Welcome;
    /// Nodes whose text begins with "个人" hide the practice side panel and buttons.
    bool personal = false;
    QString title;
    /// The section's code (material and question sections).
    QString code;
    /// The listing (personal lists and question sections).
    QuestionFilters::Selection selection;
    /// The section's text (material sections).
    QString document;

    /// Decides the action for the node with @p text at the 1-based @p index.
    static NodeAction forNode(QuestionStore& store, const QString& text, int index);
    /// The action of the review node, which has no row of tree: the questions due on or
    /// before @p day, with the practice side panel.
    static NodeAction forReview(qint64 day);
};

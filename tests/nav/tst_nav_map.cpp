#include "mapview.h"
#include "trackmodel.h"

#include <QtTest>

static TrackPoint point(int n)
{
    // A slow spiral, so every point is somewhere else.
    return {n * 100,
            30.0 + 1e-5 * n * std::cos(n * 0.05),
            122.0 + 1e-5 * n * std::sin(n * 0.05),
            1480.0 + n % 17,
            15.0,
            n % 10 == 3 ? Quality::spike : Quality::ok};
}

// Metres a pixel along each axis.
static double per_pixel(const QCPAxis *axis)
{
    const QRect rect = axis->axisRect()->rect();
    return axis->range().size()
        / (axis->orientation() == Qt::Horizontal ? rect.width() : rect.height());
}

class tst_NavMap : public QObject
{
    Q_OBJECT

private slots:
    // Synced in pieces while the ring drops its oldest, the map holds the
    // model's points, in place, flags and all.
    void keeps_in_step_with_the_model()
    {
        TrackModel model(100);
        MapView view;
        for (int n = 0; n < 250; ++n) {
            model.add(point(n));
            if (n % 7 == 0 || n == 249)
                view.sync(model);
        }
        QCOMPARE(int(view.dots().size()), model.size());
        for (int i : {0, 50, 99}) {
            const MapDot &dot = view.dots().at(size_t(i));
            const TrackPoint &p = model.at(i);
            QCOMPARE(dot.east, float(model.projection().east_m(p.longitude)));
            QCOMPARE(dot.north, float(model.projection().north_m(p.latitude)));
            QCOMPARE(dot.flagged, p.quality != Quality::ok);
        }
        QVERIFY(!view.sync(model));
        model.clear();
        QVERIFY(view.sync(model) && view.dots().empty());
    }

    // One metre is as long east as north, whatever the widget's shape; the
    // view follows the whole track and the vessel until the operator zooms,
    // and a double click follows again.
    void one_scale_and_following()
    {
        TrackModel model;
        for (int n = 0; n < 500; ++n)
            model.add(point(n));
        model.set_vessel({30.01, 122.0, 45.0});
        MapView view;
        QSignalSpy by_hand(&view, &MapView::moved_by_hand);
        for (const QSize size : {QSize(800, 300), QSize(300, 700)}) {
            view.resize(size);
            view.sync(model);
            view.replot();
            QVERIFY(qAbs(per_pixel(view.xAxis) / per_pixel(view.yAxis) - 1.0) < 1e-9);
            for (const MapDot &dot : view.dots())
                QVERIFY(view.xAxis->range().contains(dot.east)
                        && view.yAxis->range().contains(dot.north));
            QVERIFY(view.yAxis->range().contains(model.projection().north_m(30.01)));
        }
        QWheelEvent zoom(QPointF(150, 350), view.mapToGlobal(QPoint(150, 350)), QPoint(),
                         QPoint(0, 480), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &zoom);
        const double zoomed = view.xAxis->range().size();
        QVERIFY(!view.following() && by_hand.size() == 1);
        view.resize(500, 500);
        view.replot();
        QVERIFY(qAbs(per_pixel(view.xAxis) / per_pixel(view.yAxis) - 1.0) < 1e-9);
        QCOMPARE(view.xAxis->range().size(), zoomed);
        QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
        QVERIFY(view.following() && view.xAxis->range().size() > zoomed);
    }
};

QTEST_MAIN(tst_NavMap)

#include "tst_nav_map.moc"

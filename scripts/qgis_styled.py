#!/usr/bin/python3
"""Draws a converted real map with QGIS twice, side by side: as QGIS shows
the shapefiles without style files, and with the .qml files the converter
wrote beside them. Run headless by make screenshot.

Usage: qgis_styled.py GRIDMOOR REAL_SAMPLES OUTPUT_PNG
"""
import os
import shutil
import subprocess
import sys
import tempfile

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

from qgis.core import (QgsApplication, QgsMapRendererSequentialJob, QgsMapSettings,  # noqa: E402
                       QgsRectangle, QgsVectorLayer)
from qgis.PyQt.QtCore import QRectF, QSize, Qt  # noqa: E402
from qgis.PyQt.QtGui import QColor, QFont, QImage, QPainter  # noqa: E402

# The land-use survey sheet: its frame, boundaries and annotations (the
# point files' annotations split off), each source with the result drawn.
LAYERS = [("I486732TK.WL", "I486732TK"), ("JZ-FINAL.WL", "JZ-FINAL"), ("I486732TK.WT", "I486732TKA"),
          ("JZ.WT", "JZA")]
PANEL = 700
TITLE = 40


def convert(gridmoor, folder, out):
    # One folder per source: the frame's lines and points share a name.
    for source, _ in LAYERS:
        os.mkdir(os.path.join(out, source))
        subprocess.run([gridmoor, "convert", "-q", "--mode", "advanced", "-o", os.path.join(out, source), "--lib",
                        os.path.join(folder, "colour"), "--set", "SymbolType=2", "--set", "ExportProjection=0",
                        "--set", "ExportAnnotation=1", "--", os.path.join(folder, source)],
                       check=True, stdout=subprocess.DEVNULL)


def layers(out, styled):
    found = []
    for source, name in LAYERS:
        path = os.path.join(out, source, name + ".shp")
        layer = QgsVectorLayer(path, name, "ogr", QgsVectorLayer.LayerOptions(styled))
        if not layer.isValid():
            raise SystemExit("QGIS cannot open " + path)
        found.append(layer)
    return list(reversed(found))  # annotations on top


def render(map_layers, extent):
    settings = QgsMapSettings()
    settings.setLayers(map_layers)
    settings.setOutputSize(QSize(PANEL, PANEL))
    settings.setExtent(extent)
    settings.setBackgroundColor(QColor(255, 255, 255))
    settings.setFlag(QgsMapSettings.Antialiasing, True)
    job = QgsMapRendererSequentialJob(settings)
    job.start()
    job.waitForFinished()
    return job.renderedImage()


def main(argv):
    gridmoor, real, output = argv[1], argv[2], argv[3]
    QgsApplication.setPrefixPath("/usr", True)
    app = QgsApplication([], False)
    app.initQgis()
    work = tempfile.mkdtemp()
    try:
        folder = os.path.join(work, "src")
        shutil.copytree(os.path.join(real, "jz-project"), folder)
        shutil.copytree(os.path.join(real, "colour"), os.path.join(folder, "colour"))
        out = os.path.join(work, "out")
        os.mkdir(out)
        convert(gridmoor, folder, out)
        panels = [("QGIS without style files", layers(out, False)),
                  ("QGIS with the .qml written by gridmoor", layers(out, True))]
        # The surveyed part of the sheet, its boundaries and annotations.
        extent = QgsRectangle()
        for layer in panels[1][1]:
            if layer.name() in ("JZ-FINAL", "JZA"):
                extent.combineExtentWith(layer.extent())
        extent.scale(1.03)
        image = QImage(2 * PANEL, PANEL + TITLE, QImage.Format_RGB32)
        image.fill(QColor(255, 255, 255))
        painter = QPainter(image)
        painter.setFont(QFont("WenQuanYi Micro Hei", 14))
        for i, (title, map_layers) in enumerate(panels):
            painter.drawImage(i * PANEL, TITLE, render(map_layers, extent))
            painter.drawText(QRectF(i * PANEL, 0, PANEL, TITLE), Qt.AlignCenter, title)
        painter.setPen(QColor(160, 160, 160))
        painter.drawLine(PANEL, 0, PANEL, PANEL + TITLE)
        painter.end()
        if not image.save(output):
            raise SystemExit("cannot write " + output)
        print("wrote " + output)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    status = main(sys.argv)
    sys.stdout.flush()
    # Leaving through QGIS's teardown can crash the interpreter at exit.
    os._exit(status)

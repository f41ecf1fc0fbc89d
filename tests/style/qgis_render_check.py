#!/usr/bin/python3
"""Opens converted shapefiles in QGIS, draws them with the styles written
beside them and checks what QGIS drew against the MapGIS style values in the
tables: fill colours inside polygons, line colours along lines, marker
colours at points, annotation texts drawn as labels in their colours.

Usage: qgis_render_check.py COLOUR_LIB [--epsg PATH:CODE]... [--same-place SHP,SHP...]...
                            SHP... [--plugin MAPGIS_FILE...]

Each SHP is checked twice: as QGIS opens it (applying SHP's .qml by itself)
and with its .sld loaded instead (polygons, lines and markers). --epsg checks
that QGIS reads the layer's spatial reference as the EPSG system CODE.
--same-place checks that layers of one map in different systems are drawn
on the same places. Every layer of a MAPGIS_FILE after --plugin is opened
through the GDAL plugin and drawn with QGIS's embedded-symbol renderer from
the features' style strings (symbols only: that renderer draws no labels).
Colours are resolved from the colour library here, independently of the
program's own code.
"""
import os
import re
import struct
import sys

import numpy

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

from osgeo import ogr  # noqa: E402
from qgis.core import (NULL, QgsApplication, QgsGeometry, QgsMapRendererSequentialJob, QgsMapSettings,  # noqa: E402
                       QgsPointXY, QgsRectangle, QgsVectorLayer)
from qgis.PyQt.QtCore import QSize  # noqa: E402
from qgis.PyQt.QtGui import QColor  # noqa: E402

WHITE = (255, 255, 255)
failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


class ColourLibrary:
    """MapGIS colour numbers to RGB: the colour's ink bytes with its spot
    inks mixed in, then CMYK to RGB."""

    def __init__(self, path):
        data = open(path, "rb").read()
        if data[:8] != b"PCOLOR 3":
            raise SystemExit("not a colour library: " + path)
        count, self.ink_count = struct.unpack_from("<hh", data, 8)
        self.inks = [data[12 + 4 * i:16 + 4 * i] for i in range(36)]
        held = min(count, (len(data) - 156) // 32)
        self.records = [data[156 + 32 * i:188 + 32 * i] for i in range(held)]

    def rgb(self, number):
        if not 1 <= number <= len(self.records):
            return (0, 0, 0)
        record = self.records[number - 1]
        q = list(record[0:4])  # black, cyan, magenta, yellow
        for ink in range(self.ink_count):
            for b in range(4):
                q[b] = min(255, q[b] + self.inks[ink][b] * record[4 + ink] // 255)
        black, cyan, magenta, yellow = q
        return ((255 - cyan) * (255 - black) // 255, (255 - magenta) * (255 - black) // 255,
                (255 - yellow) * (255 - black) // 255)


def distance(a, b):
    return max(abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2]))


def over_white(colour, alpha):
    return tuple(round(c * alpha / 255 + 255 * (1 - alpha / 255)) for c in colour)


def blend_of(pixel, top, bottom, least=0.35):
    """Whether `pixel` is `top` drawn over `bottom` with an opacity of at
    least `least` (QGIS draws lines thinner than a pixel partly opaque)."""
    span = max(range(3), key=lambda i: abs(top[i] - bottom[i]))
    if abs(top[span] - bottom[span]) < 30:
        return distance(pixel, top) <= 3
    alpha = (pixel[span] - bottom[span]) / (top[span] - bottom[span])
    if not least <= alpha <= 1.02:
        return False
    return all(abs(pixel[i] - (alpha * top[i] + (1 - alpha) * bottom[i])) <= 4 for i in range(3))


class Picture:
    """One layer drawn into an image, with map to pixel conversion."""

    def __init__(self, layer, extent, width=900, labels=True, crs=None):
        settings = QgsMapSettings()
        settings.setLayers([layer])
        settings.setDestinationCrs(crs or layer.crs())
        settings.setOutputSize(QSize(width, width))
        settings.setExtent(extent)
        settings.setBackgroundColor(QColor(255, 255, 255))
        # Without antialiasing every drawn pixel has the symbol's own colour.
        settings.setFlag(QgsMapSettings.Antialiasing, False)
        settings.setFlag(QgsMapSettings.DrawLabeling, labels)
        job = QgsMapRendererSequentialJob(settings)
        job.start()
        job.waitForFinished()
        self.image = job.renderedImage()
        self.labels = job.takeLabelingResults()
        self.to_pixel = job.mapSettings().mapToPixel()

    def pixels(self):
        """The image as an array of rows of (red, green, blue)."""
        image = self.image.convertToFormat(self.image.Format_RGB32)
        bits = image.constBits()
        bits.setsize(image.sizeInBytes())
        rows = numpy.frombuffer(bits, numpy.uint8).reshape(image.height(), image.bytesPerLine() // 4, 4)
        return rows[:, :image.width(), 2::-1].astype(numpy.int32)

    def pixel(self, x, y):
        if not (0 <= x < self.image.width() and 0 <= y < self.image.height()):
            return None
        c = QColor(self.image.pixel(x, y))
        return (c.red(), c.green(), c.blue())

    def at(self, point):
        p = self.to_pixel.transform(point)
        return int(round(p.x())), int(round(p.y()))

    def near(self, point, colour, reach=1, least=0.35):
        x, y = self.at(point)
        for dx in range(-reach, reach + 1):
            for dy in range(-reach, reach + 1):
                p = self.pixel(x + dx, y + dy)
                if p and blend_of(p, colour, WHITE, least):
                    return True
        return False

    def all_white(self):
        return bool(numpy.all(self.pixels() == 255))


def display_text(text):
    """An annotation as MapGIS shows it: sub- and superscript codes removed,
    a text between slashes as a stacked number on two lines."""
    if len(text) >= 2 and text[0] == "/" and text[-1] == "/":
        text = text[1:-1].replace("/", "\n")
    return re.sub("#[-+=]", "", text)


def inked_pixels(rows, colour):
    """Pixels that are `colour` drawn over white at half opacity or more."""
    top = numpy.array(colour)
    span = int(numpy.argmax(numpy.abs(top - 255)))
    if abs(top[span] - 255) < 30:
        return 0
    alpha = (rows[..., span] - 255) / (top[span] - 255)
    expected = alpha[..., None] * top + (1 - alpha[..., None]) * 255
    close = numpy.all(numpy.abs(rows - expected) <= 4, axis=-1)
    return int(numpy.count_nonzero(close & (alpha >= 0.5) & (alpha <= 1.02)))


def grown(rect, factor):
    r = QgsRectangle(rect)
    r.scale(factor)
    if r.width() == 0 or r.height() == 0:
        r.grow(1.0)
    return r


def field(feature, name):
    if feature.fields().indexOf(name) < 0:
        return None
    value = feature[name]
    return None if value is None or value == NULL else value


def check_polygons(name, layer, picture, colours):
    step = 3
    for f in layer.getFeatures():
        expected = colours.rgb(f["VKT_RCOLR"])
        if f["VKT_TRANS"]:
            expected = over_white(expected, 128)
        pattern = f["VKT_PATNO"]
        pattern_colour = colours.rgb(f["VKT_PCOLR"])
        # Samples well inside the polygon (away from its edges and holes).
        pixel_size = picture.to_pixel.mapUnitsPerPixel()
        inner = f.geometry().buffer(-3 * pixel_size, 4)
        if inner.isEmpty():
            continue
        box = inner.boundingBox()
        x0, y1 = picture.at(QgsPointXY(box.xMinimum(), box.yMinimum()))
        x1, y0 = picture.at(QgsPointXY(box.xMaximum(), box.yMaximum()))
        samples = []
        for px in range(max(x0, 0), min(x1, picture.image.width() - 1) + 1, step):
            for py in range(max(y0, 0), min(y1, picture.image.height() - 1) + 1, step):
                point = picture.to_pixel.toMapCoordinates(px, py)
                if inner.contains(QgsPointXY(point)):
                    samples.append(picture.pixel(px, py))
        if not samples:
            continue
        fill_share = sum(distance(s, expected) <= 3 for s in samples) / len(samples)
        hatch_share = sum(distance(s, expected) > 3 and blend_of(s, pattern_colour, expected, 0.2)
                          for s in samples) / len(samples)
        if pattern == 0 and fill_share < 0.98:
            fail(f"{name} feature {f.id()}: fill {expected} covers {fill_share:.0%} of the polygon")
        elif pattern != 0 and (fill_share < 0.3 or hatch_share < 0.02 or fill_share + hatch_share < 0.95):
            fail(f"{name} feature {f.id()}: fill {expected} {fill_share:.0%}, pattern {pattern_colour}"
                 f" {hatch_share:.0%} of the polygon")


def check_lines(name, layer, picture, colours):
    for f in layer.getFeatures():
        expected = colours.rgb(f["VKT_LCOLR"])
        geometry = f.geometry()
        length = geometry.length()
        if distance(expected, WHITE) <= 3 or length == 0:
            continue
        points = [geometry.interpolate(length * (i + 0.5) / 20).asPoint() for i in range(20)]
        # QGIS draws a line narrower than a pixel (0.05 mm is 0.2 pixel) at that share of its opacity.
        hits = sum(picture.near(p, expected, least=0.15) for p in points)
        dashed = f["VKT_LTYPE"] in (2, 3, 4, 5, 6, 7)
        if hits < (4 if dashed else 12):
            fail(f"{name} feature {f.id()}: line colour {expected} at {hits} of 20 points along it")


def check_markers(name, layer, picture, colours):
    # Drawn large enough that the smallest marker covers a few pixels.
    sizes = [f["VKT_SWIDH"] for f in layer.getFeatures() if field(f, "VKT_SWIDH")]
    extent = grown(layer.extent(), 1.05)
    if sizes:
        picture = Picture(layer, extent, width=int(min(4000, max(900, 5 * extent.width() / min(sizes)))))
    for f in layer.getFeatures():
        number = field(f, "VKT_SCOLR")
        if number is None or field(f, "VKT_PTYPE") not in (None, 1):
            continue
        expected = colours.rgb(number)
        if not picture.near(f.geometry().asPoint(), expected, reach=1):
            fail(f"{name} feature {f.id()}: no marker of colour {expected} at its point")


def markup_text(markup):
    """The text of label mark-up without its tags."""
    return re.sub("<[^>]*>", "", markup).replace("&lt;", "<").replace("&amp;", "&")


def annotations_of(layer, colours):
    """(feature, stored text, text shown from the .qml, colour) of every
    annotation: the annotation layer's text column, or the mark-up of the
    annotations in a layer of every kind of point."""
    names = layer.fields().names()
    out = []
    if "VKT_PTYPE" in names:
        for f in layer.getFeatures():
            if f["VKT_PTYPE"] in (0, 5) and f["VKT_LABEL"]:
                out.append((f, f["VKT_LABEL"], markup_text(f["VKT_LABEL"]), colours.rgb(f["VKT_SCOLR"])))
        return out
    column = names[names.index("VKT_LABEL") - 1]
    for f in layer.getFeatures():
        if f[column] and f[column].strip():
            out.append((f, f[column], display_text(f[column]), colours.rgb(f["VKT_ACLR"])))
    return out


def check_labels(name, layer, colours, from_qml):
    """Annotations are drawn as labels in their colours, their points stay
    invisible. The .qml places every label and shows the text as MapGIS
    does; from the .sld QGIS reads neither the sizes (expressions) nor the
    placement, shows the stored text and leaves labels that collide
    unplaced: some must be placed."""
    extent = grown(layer.extent(), 1.2)
    annotations = annotations_of(layer, colours)
    bare = Picture(layer, extent, labels=False)
    markers = [bare.at(f.geometry().asPoint()) for f in layer.getFeatures() if field(f, "VKT_PTYPE") == 1]
    for f, _, _, _ in annotations:
        x, y = bare.at(f.geometry().asPoint())
        clear = all(abs(x - mx) > 12 or abs(y - my) > 12 for mx, my in markers)
        if clear and bare.pixel(x, y) not in (None, WHITE):
            fail(f"{name} feature {f.id()}: the annotation's point is drawn")
    whole = Picture(layer, extent)
    placed = {label.featureId: label for label in whole.labels.allLabels()}
    missing = [a for a in annotations if a[0].id() not in placed]
    if missing and (from_qml or len(missing) == len(annotations)):
        fail(f"{name}: {len(missing)} of {len(annotations)} annotations drawn as no label, e.g. {missing[0][1]!r}")
    for f, stored, shown, expected in annotations:
        label = placed.get(f.id())
        if label is None:
            continue
        if label.labelText != (shown if from_qml else stored):
            fail(f"{name} feature {f.id()}: label {label.labelText!r}, annotation {stored!r}")
        # Drawn large enough to see its colour: the label's box, some 14 pixels per line.
        box = grown(label.labelRect, 1.1)
        lines = label.labelText.count("\n") + 1
        width = int(min(1600, max(200, 14 * lines * box.width() / box.height())))
        close = Picture(layer, box, width=width)
        if inked_pixels(close.pixels(), expected) < 3:
            fail(f"{name} feature {f.id()}: label {stored!r} has no pixel of its colour {expected}")


def kind_of(layer):
    names = layer.fields().names()
    for column, kind in (("VKT_PTYPE", "points"), ("VKT_RCOLR", "polygon"), ("VKT_LCOLR", "line"),
                         ("VKT_SUBNO", "marker"), ("VKT_AHEI", "label")):
        if column in names:
            return kind
    return None


def check_drawing(name, layer, kind, colours, from_qml):
    if kind in ("label", "points"):
        check_labels(name, layer, colours, from_qml)
    if kind == "label":
        return
    picture = Picture(layer, grown(layer.extent(), 1.05))
    checks = {"polygon": check_polygons, "line": check_lines, "marker": check_markers, "points": check_markers}
    checks[kind](name, layer, picture, colours)


def check_plugin_layer(name, layer, colours):
    """A layer read through the plugin: QGIS chooses the embedded-symbol
    renderer by itself and draws the features' own colours."""
    if not layer.isValid():
        fail(f"{name}: QGIS cannot open it through the plugin")
        return
    if layer.renderer().type() != "embeddedSymbol":
        fail(f"{name}: drawn with {layer.renderer().type()}, not the features' embedded symbols")
        return
    kind = kind_of(layer)
    if kind is None:
        return
    picture = Picture(layer, grown(layer.extent(), 1.05), labels=False)
    checks = {"polygon": check_polygons, "line": check_lines, "marker": check_markers, "points": check_markers}
    checks[kind](name + " (plugin)", layer, picture, colours)


def check_plugin_file(path, colours):
    source = ogr.Open(path)
    if source is None or source.GetDriver().GetName() != "MAPGIS":
        fail(f"{os.path.basename(path)}: the plugin does not open it")
        return 0
    names = [source.GetLayer(i).GetName() for i in range(source.GetLayerCount())]
    for name in names:
        check_plugin_layer(name, QgsVectorLayer(f"{path}|layername={name}", name, "ogr"), colours)
        print("checked through the plugin: " + name)
    return len(names)


def check_same_place(paths):
    """The layers of one map in several systems, drawn in the first one's
    system: the other layers cover the pixels the first one covers."""
    layers = [QgsVectorLayer(p, os.path.basename(p), "ogr") for p in paths]
    reference = layers[0]
    extent = grown(reference.extent(), 1.05)
    masks = [Picture(layer, extent, labels=False, crs=reference.crs()).pixels().min(axis=-1) < 250
             for layer in layers]
    drawn = int(numpy.count_nonzero(masks[0]))
    # One pixel either way: lines drawn after a reprojection may shift by a pixel.
    grown_mask = masks[0].copy()
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        grown_mask |= numpy.roll(numpy.roll(masks[0], dx, axis=1), dy, axis=0)
    for path, mask in zip(paths[1:], masks[1:]):
        inside = int(numpy.count_nonzero(mask & grown_mask))
        count = int(numpy.count_nonzero(mask))
        if drawn == 0 or count < 0.9 * drawn or inside < 0.97 * count:
            fail(f"{os.path.basename(path)}: {inside} of its {count} pixels where "
                 f"{os.path.basename(paths[0])} draws {drawn}")
        else:
            print(f"{os.path.basename(path)}: on the places of {os.path.basename(paths[0])}")


def check_layer(path, colours):
    name = os.path.basename(path)
    layer = QgsVectorLayer(path, name, "ogr")
    if not layer.isValid():
        fail(f"{name}: QGIS cannot open it")
        return
    kind = kind_of(layer)
    labelled = kind in ("label", "points")
    # A layer of annotations only draws no symbol at all.
    symbols = kind != "label" and any(field(f, "VKT_PTYPE") in (None, 1) for f in layer.getFeatures())
    expected_renderer = "RuleRenderer" if symbols else "nullSymbol"
    if layer.renderer().type() != expected_renderer or labelled != layer.labelsEnabled():
        fail(f"{name}: the .qml was not applied (renderer {layer.renderer().type()})")
        return
    check_drawing(name + " (qml)", layer, kind, colours, True)

    # QGIS 3.22 reads SLD sizes in metres as metres on paper: markers sized
    # in map units cannot be checked through it.
    if kind == "marker":
        return
    plain = QgsVectorLayer(path, name, "ogr", QgsVectorLayer.LayerOptions(False))
    message, loaded = plain.loadSldStyle(path[:-4] + ".sld")
    if not loaded or plain.renderer().type() != "RuleRenderer" or labelled != plain.labelsEnabled():
        fail(f"{name}: the .sld was not loaded: {message}")
        return
    check_drawing(name + " (sld)", plain, kind, colours, False)


def main(argv):
    QgsApplication.setPrefixPath("/usr", True)
    app = QgsApplication([], False)
    app.initQgis()
    colours = ColourLibrary(argv[1])
    layers, epsg, same_place, plugin_files = [], [], [], []
    args = iter(argv[2:])
    for a in args:
        if a == "--epsg":
            path, code = next(args).rsplit(":", 1)
            epsg.append((path, code))
        elif a == "--same-place":
            same_place.append(next(args).split(","))
        elif a == "--plugin":
            plugin_files = list(args)
        else:
            layers.append(a)
    for path in layers:
        check_layer(path, colours)
        print("checked " + os.path.basename(path))
    plugin_layers = sum(check_plugin_file(path, colours) for path in plugin_files)
    for paths in same_place:
        check_same_place(paths)
    for path, code in epsg:
        layer = QgsVectorLayer(path, os.path.basename(path), "ogr")
        if layer.crs().authid() != "EPSG:" + code:
            fail(f"{os.path.basename(path)}: CRS {layer.crs().authid() or layer.crs().description()!r},"
                 f" expected EPSG:{code}")
        else:
            print(f"{os.path.basename(path)}: EPSG:{code}")
    print(f"{len(layers)} layers, {plugin_layers} through the plugin, {len(epsg)} spatial references, "
          f"{len(failures)} failures")
    return 1 if failures or not layers or plugin_layers < len(plugin_files) else 0


if __name__ == "__main__":
    status = main(sys.argv)
    sys.stdout.flush()
    # Leaving through QGIS's teardown can crash the interpreter at exit.
    os._exit(status)

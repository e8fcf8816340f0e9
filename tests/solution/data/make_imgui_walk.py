#!/usr/bin/env python3
"""Writes imgui_walk.txt, the expected model of the corpus's imgui_examples.sln, with a reader
written apart from the C++ one (ElementTree, ntpath): one line per project ("P path") and per file
("F path"), in walk order, paths relative to the folder that holds imgui/.

Usage: make_imgui_walk.py <corpus folder> > imgui_walk.txt"""
import ntpath
import os
import sys
import xml.etree.ElementTree as ElementTree

ITEMS = ["ClCompile", "ClInclude", "None", "ProjectReference", "ResourceCompile", "Text", "Image", "Compile",
         "CustomBuild"]
FOLDER_TYPE = "2150E333-8FDC-42A3-9474-1A3956D46DE8"


def local(tag):
    return tag.split("}")[-1]


def walk(corpus, project_path, out):
    out.append("P " + project_path)
    linux = os.path.join(corpus, *project_path.split("\\"))
    root = ElementTree.parse(linux).getroot()
    folder = ntpath.dirname(project_path)
    for group in [child for child in root if local(child.tag) == "ItemGroup"]:
        for name in ITEMS:
            for item in [child for child in group if local(child.tag) == name]:
                if "Include" in item.attrib:
                    path = ntpath.normpath(ntpath.join(folder, item.attrib["Include"]))
                    if name == "ProjectReference":
                        raise SystemExit("references are not expected in this corpus")
                    out.append("F " + path)


def main():
    corpus = sys.argv[1]
    solution = "imgui\\examples\\imgui_examples.sln"
    out = []
    with open(os.path.join(corpus, *solution.split("\\")), encoding="utf-8-sig") as lines:
        for line in lines:
            if not line.startswith("Project") or FOLDER_TYPE in line.split("{", 1)[-1][:36]:
                continue
            path = line.split(",", 1)[1].split('"')[1]
            walk(corpus, ntpath.join(ntpath.dirname(solution), path), out)
    print("\n".join(out))


main()

# Nautilus (with python3-nautilus): "Ordnerliste in die Zwischenablage" in
# the context menu of a single local folder; it makes Zweigschau's batch
# run on that folder.
import subprocess

from gi.repository import GObject, Nautilus


class ZweigschauOrdnerliste(GObject.GObject, Nautilus.MenuProvider):
    def get_file_items(self, *args):
        files = args[-1]  # Nautilus 4 passes (files), Nautilus 3 (window, files)
        if len(files) != 1 or not files[0].is_directory() or files[0].get_uri_scheme() != "file":
            return []
        item = Nautilus.MenuItem(name="Zweigschau::Ordnerliste",
                                 label="Ordnerliste in die Zwischenablage", icon="zweigschau")
        item.connect("activate", self.ordnerliste, files[0].get_location().get_path())
        return [item]

    def ordnerliste(self, _item, path):
        subprocess.Popen(["zweigschau", "/o:" + path, "/kontextmenue:"], close_fds=True)

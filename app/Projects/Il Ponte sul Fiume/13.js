<script>document.title += ' - la torre';</script>
